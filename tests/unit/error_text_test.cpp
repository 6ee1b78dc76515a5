#include <gtest/gtest.h>

#include "audio/error_dialog.h"
#include "audio/mod_bass.h"

using hollowtide::audio::EngineErrorText;
using hollowtide::audio::ErrorDialogText;

TEST(EngineErrorText, KnownCodesKeepTheirExactWording) {
    EXPECT_EQ(EngineErrorText(-1), "Some Other Mystery Error");
    EXPECT_EQ(EngineErrorText(0), "All is OK");
    EXPECT_EQ(EngineErrorText(4), "The Sample Buffer Was Lost - Please Report This!");
    EXPECT_EQ(EngineErrorText(9), "BASS_Start Has Not Been Successfully Called");
    EXPECT_EQ(EngineErrorText(27), "The Stream is Not a File Stream (WAV/MP3)");
    EXPECT_EQ(EngineErrorText(38), "The channel is a 'decoding channel'");
}

TEST(EngineErrorText, GapsAndOutOfRangeCodesAreEmpty) {
    for (int code : {26, 28, 30, 36, -2, 39, 1000, -1000}) {
        EXPECT_TRUE(EngineErrorText(code).isEmpty()) << code;
    }
}

TEST(ErrorDialogText, HasFourCrLfLines) {
    EXPECT_EQ(ErrorDialogText("Can't start digital output", 9),
              "Can't start digital output\r\n\r\nError Code : 9\r\n"
              "BASS_Start Has Not Been Successfully Called");
}

TEST(ErrorDialogText, CodeWithoutTextLeavesTheLastLineEmpty) {
    EXPECT_EQ(ErrorDialogText("x", 26), "x\r\n\r\nError Code : 26\r\n");
}

TEST(ErrorDialogText, NegativeCodeUsesHyphenMinus) {
    EXPECT_EQ(ErrorDialogText("x", -1), "x\r\n\r\nError Code : -1\r\nSome Other Mystery Error");
}

TEST(ErrorDialogText, EmptyMessageStartsWithTwoLineBreaks) {
    EXPECT_TRUE(ErrorDialogText("", 0).startsWith("\r\n\r\nError Code : 0"));
}
