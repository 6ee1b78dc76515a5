// The environment the program sets for itself, and the one it hands to programs it starts.
//
// Some settings of the libraries the program links are only read from the environment: the
// sound server's buffer, the X connection's use of shared memory. They are set once, before any
// thread exists (setenv is not safe while another thread may read the environment), and they
// are the program's own business: a browser started from the About screen must not inherit
// them. A variable the user had set is left as it is, and is handed on.
#pragma once

#include <QProcessEnvironment>
#include <QUrl>

namespace hollowtide::app {

// Sets `name` to `value` for this process, unless the user has set it already. Before any
// thread starts only.
void SetForThisProgramOnly(const char* name, const char* value);

// The environment for programs this one starts: the process's own, less what
// SetForThisProgramOnly set.
QProcessEnvironment EnvironmentForLaunchedPrograms();

// Hands `url` to the desktop's opener (xdg-open) without waiting for it, in the environment
// above. False when the opener cannot be started.
bool OpenInBrowser(const QUrl& url);

}  // namespace hollowtide::app
