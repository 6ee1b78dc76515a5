#include "audio/error_dialog.h"

#include "audio/bass.h"
#include "audio/message_box.h"
#include "audio/mod_bass.h"

namespace hollowtide::audio {

QString ErrorDialogText(const QString& message, int code) {
    const QString lineBreak = QStringLiteral("\r\n");
    return message + lineBreak + lineBreak + QStringLiteral("Error Code : ") +
           QString::number(code) + lineBreak + EngineErrorText(code);
}

void ThrowError(const QString& message) {
    const int code = BASS_ErrorGetCode();
    ShowMessageBox(
        {ErrorDialogText(message, code), QStringLiteral("Error"), MessageIcon::Critical});
}

void ShowCannotPlayModule() {
    ShowMessageBox({QString::fromLatin1(kCannotPlayModule), QString::fromLatin1(kApplicationTitle),
                    MessageIcon::None});
}

}  // namespace hollowtide::audio
