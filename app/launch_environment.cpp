#include "app/launch_environment.h"

#include <QProcess>
#include <QStringList>
#include <cstdlib>

namespace hollowtide::app {

namespace {

// Written before any thread starts, read afterwards only.
QStringList& SetByTheProgram() {
    static QStringList names;
    return names;
}

}  // namespace

void SetForThisProgramOnly(const char* name, const char* value) {
    if (std::getenv(name) != nullptr) return;
    setenv(name, value, 0);
    SetByTheProgram().append(QString::fromLatin1(name));
}

QProcessEnvironment EnvironmentForLaunchedPrograms() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : SetByTheProgram()) environment.remove(name);
    return environment;
}

bool OpenInBrowser(const QUrl& url) {
    QProcess opener;
    opener.setProgram(QStringLiteral("xdg-open"));
    opener.setArguments({url.toString(QUrl::FullyEncoded)});
    opener.setProcessEnvironment(EnvironmentForLaunchedPrograms());
    opener.setStandardInputFile(QProcess::nullDevice());
    return opener.startDetached();
}

}  // namespace hollowtide::app
