#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QStringList>

#include "player/song_catalog.h"
#include "player/song_table.h"

using hollowtide::player::FindSong;
using hollowtide::player::kSongCount;
using hollowtide::player::SongEntry;

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string FileName(const SongEntry& entry) {
    return std::string(entry.storedPath).substr(6);
}

std::string Extension(const std::string& name) {
    return name.substr(name.rfind('.') + 1);
}

std::string Artist(const std::string& title) {
    return title.substr(0, title.find('_'));
}

std::vector<const SongEntry*> AllEntries() {
    std::vector<const SongEntry*> entries;
    for (int number = 1; number <= kSongCount; ++number) {
        entries.push_back(FindSong(number));
    }
    return entries;
}

}  // namespace

TEST(SongTable, LooksUpOnlyNumbersOneToFortyNine) {
    EXPECT_EQ(kSongCount, 49);
    for (int number = 1; number <= 49; ++number) {
        const SongEntry* entry = FindSong(number);
        ASSERT_NE(entry, nullptr) << number;
        EXPECT_EQ(entry->number, number);
    }
    EXPECT_STREQ(FindSong(49)->displayTitle, "WRACKLINE_strandline.MOD");
    for (int number : {0, 50, -1, 1000, -32768, 32767}) {
        EXPECT_EQ(FindSong(number), nullptr) << number;
    }
}

TEST(SongTable, TitlesAndPathsKeepTheirShapeAndCharacterSet) {
    const std::string allowed = " !'+-._";
    for (const SongEntry* entry : AllEntries()) {
        const std::string title = entry->displayTitle;
        const std::string path = entry->storedPath;
        EXPECT_LE(title.size(), 35u) << title;
        EXPECT_LE(path.size(), 40u) << path;
        EXPECT_EQ(path.substr(0, 6), "\\data\\") << path;
        for (const std::string& text : {title, FileName(*entry)}) {
            for (char c : text) {
                EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) ||
                            allowed.find(c) != std::string::npos)
                    << text;
            }
        }
        const std::string artist = Artist(title);
        ASSERT_NE(artist.size(), title.size()) << title;
        for (char c : artist) {
            EXPECT_FALSE(std::islower(static_cast<unsigned char>(c))) << title;
        }
        const std::string extension = Extension(title);
        EXPECT_TRUE(extension == "MOD" || extension == "XM" || extension == "IT") << title;
    }
}

TEST(SongTable, FileNamesRelateToTitlesAsThePackDefines) {
    int identical = 0;
    int caseOnly = 0;
    int upperExtensions = 0;
    std::vector<int> otherLetters;
    for (const SongEntry* entry : AllEntries()) {
        const std::string title = entry->displayTitle;
        const std::string file = FileName(*entry);
        if (file == title) {
            ++identical;
        } else if (Lower(file) == Lower(title)) {
            ++caseOnly;
        } else {
            otherLetters.push_back(entry->number);
        }
        const std::string extension = Extension(file);
        upperExtensions += extension == Lower(extension) ? 0 : 1;
    }
    EXPECT_EQ(identical, 9);
    EXPECT_EQ(caseOnly, 39);
    EXPECT_EQ(otherLetters, std::vector<int>{25});
    EXPECT_EQ(upperExtensions, 16);

    // Song 25's title has one letter more in the tune's name than its file.
    const std::string title = Lower(FindSong(25)->displayTitle);
    const std::string file = Lower(FileName(*FindSong(25)));
    ASSERT_EQ(title.size(), file.size() + 1);
    EXPECT_EQ(Artist(title), Artist(file));
    EXPECT_EQ(Extension(title), Extension(file));
    int skips = 0;
    for (std::size_t t = 0, f = 0; t < title.size(); ++t) {
        if (f < file.size() && title[t] == file[f]) {
            ++f;
        } else {
            ++skips;
            EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(title[t])));
        }
    }
    EXPECT_EQ(skips, 1);
}

TEST(SongTable, FormatAndLoadFlagsFollowTheNumber) {
    const std::map<unsigned, std::pair<std::string, std::set<int>>> expected = {
        {34, {"MOD", {1, 3, 4, 8, 11, 13, 14, 19, 43, 44, 46, 47, 48}}},
        {16418, {"MOD", {6, 7, 9, 16, 17, 18, 20, 21, 22, 23, 24, 25, 26, 39, 40, 41, 42, 45, 49}}},
        {17, {"XM", {2, 5, 10, 15, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36}}},
        {16401, {"XM", {37}}},
        {2, {"IT", {12}}},
        {18, {"IT", {38}}},
    };
    std::map<unsigned, std::set<int>> actual;
    for (const SongEntry* entry : AllEntries()) {
        actual[entry->loadFlags].insert(entry->number);
        const auto found = expected.find(entry->loadFlags);
        ASSERT_NE(found, expected.end()) << entry->number;
        EXPECT_EQ(Extension(entry->displayTitle), found->second.first) << entry->number;
        EXPECT_EQ(Lower(Extension(FileName(*entry))), Lower(found->second.first));
    }
    for (const auto& [flags, row] : expected) {
        EXPECT_EQ(actual[flags], row.second) << flags;
    }
}

TEST(SongTable, ArtistGroupsHaveTheirSizesAndNearlyAlphabeticalOrder) {
    std::vector<std::string> artists;
    std::vector<int> sizes;
    std::vector<std::vector<std::string>> tunes;
    for (const SongEntry* entry : AllEntries()) {
        const std::string title = entry->displayTitle;
        const std::string artist = Artist(title);
        const std::string tune =
            title.substr(artist.size() + 1, title.rfind('.') - artist.size() - 1);
        if (artists.empty() || artists.back() != artist) {
            artists.push_back(artist);
            sizes.push_back(0);
            tunes.emplace_back();
        }
        ++sizes.back();
        tunes.back().push_back(Lower(tune));
    }
    EXPECT_EQ(sizes, (std::vector<int>{7, 2, 1, 1, 1, 4, 2, 1, 2, 5, 1, 9, 1, 1, 4, 7}));
    ASSERT_EQ(artists.size(), 16u);
    EXPECT_EQ(std::set<std::string>(artists.begin(), artists.end()).size(), 16u);

    // Alphabetical except three neighbouring pairs swapped: undo the swaps and it is sorted.
    std::vector<std::string> order = artists;
    int swaps = 0;
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        if (order[i] > order[i + 1]) {
            std::swap(order[i], order[i + 1]);
            ++swaps;
            ++i;
        }
    }
    EXPECT_EQ(swaps, 3);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));

    for (const auto& group : tunes) {
        EXPECT_TRUE(std::is_sorted(group.begin(), group.end())) << group.front();
    }
}

TEST(SongTable, MarqueeCreditsEveryArtistAlphabeticallyWithOneInMixedCase) {
    const QString marquee = hollowtide::player::MarqueeText();
    const QString prefix = "F3NL4RK  CH!P P4CK... Featuring... ";
    ASSERT_TRUE(marquee.startsWith(prefix));
    QStringList handles = marquee.mid(prefix.size()).split("....");
    ASSERT_EQ(handles.size(), 17);
    EXPECT_TRUE(handles.back().isEmpty());
    handles.removeLast();

    std::set<std::string> tableArtists;
    for (const SongEntry* entry : AllEntries()) {
        tableArtists.insert(Artist(entry->displayTitle));
    }
    int mixedCase = 0;
    std::set<std::string> credited;
    for (const QString& handle : handles) {
        mixedCase += handle == handle.toUpper() ? 0 : 1;
        credited.insert(handle.toUpper().toStdString());
    }
    EXPECT_EQ(mixedCase, 1);
    EXPECT_EQ(credited, tableArtists);
    QStringList sorted = handles;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return a.toUpper() < b.toUpper(); });
    EXPECT_EQ(handles, sorted);
}

TEST(SongTable, IntroTuneIsNamedAfterTheFirstSongsMusicianAndIsNotInTheTable) {
    const QString intro = hollowtide::player::IntroTuneFileName();
    const QString firstArtist = QString::fromStdString(Artist(FindSong(1)->displayTitle));
    EXPECT_EQ(Artist(FindSong(7)->displayTitle), firstArtist.toStdString());
    EXPECT_EQ(intro.toUpper(), firstArtist + "_MM-COMPLETE.MOD");
    EXPECT_TRUE(intro.endsWith("_mm-complete.MOD"));
    for (const SongEntry* entry : AllEntries()) {
        EXPECT_NE(Lower(FileName(*entry)), intro.toLower().toStdString());
    }
}
