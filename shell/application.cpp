#include "application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A standard descriptor closed when the program starts would be taken by the
// next file opened, such as the connection to the window system, and the
// report would be written into it. Each is held on /dev/null instead, opened
// for reading only, so that writing the report there fails and says so.
void HoldClosedStandardDescriptors() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) == -1) {
            const int held = open("/dev/null", O_RDONLY);
            if (held != fd && held != -1) {
                dup2(held, fd);
                close(held);
            }
        }
    }
}

QtMessageHandler QtHandler = nullptr;

// What Qt and the libraries under it write to standard error while Qt starts
// is held back in a file until start-up has succeeded: when no window system
// can be reached, their hints (a missing xcb-cursor library, an unset
// XDG_RUNTIME_DIR) are often wrong, and the user reads one true sentence
// instead.
int SavedStandardError = -1;
std::FILE* HeldStandardError = nullptr;

void HoldStandardError() {
    HeldStandardError = std::tmpfile();
    if (HeldStandardError != nullptr) {
        std::fflush(stderr);
        SavedStandardError = dup(STDERR_FILENO);
        dup2(fileno(HeldStandardError), STDERR_FILENO);
    }
}

// Standard error back as it was; what was held is written there or dropped.
void ReleaseStandardError(bool passOn) {
    if (HeldStandardError == nullptr) {
        return;
    }
    std::fflush(stderr);
    dup2(SavedStandardError, STDERR_FILENO);
    close(SavedStandardError);
    if (passOn) {
        std::rewind(HeldStandardError);
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, HeldStandardError)) > 0) {
            std::fwrite(buffer, 1, n, stderr);
        }
    }
    std::fclose(HeldStandardError);
    HeldStandardError = nullptr;
}

// Qt's Wayland platform plugin, looked for where Qt looks for plugins.
bool HasWaylandSupport() {
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const QString& folder : folders) {
        if (!QDir(folder + "/platforms").entryList({QStringLiteral("*wayland*")}).isEmpty()) {
            return true;
        }
    }
    return false;
}

// Why no Wayland compositor can be reached, as a client looks for one: the
// socket WAYLAND_DISPLAY names (wayland-0 when unset) in XDG_RUNTIME_DIR, or
// at its own path. Empty when the socket is there.
QByteArray MissingCompositor() {
    const QByteArray display = qgetenv("WAYLAND_DISPLAY");
    const QByteArray socket = display.startsWith('/') ? display
                              : qgetenv("XDG_RUNTIME_DIR") + '/' +
                                    (display.isEmpty() ? QByteArray("wayland-0") : display);
    if (QFileInfo::exists(QString::fromLocal8Bit(socket))) {
        return {};
    }
    return display.isEmpty() ? QByteArray("WAYLAND_DISPLAY is not set") : "no socket at " + socket;
}

constexpr const char* WaylandHint =
    "Qt's Wayland support, which is missing (on Debian and Ubuntu, install the package "
    "qt6-wayland)";

// Qt aborts when it cannot reach a window system, with a message that
// blames the installation. Says what is wrong instead, and ends the program
// with a failure status.
void StartUpFailure(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        QtHandler(type, context, message);
        return;
    }
    ReleaseStandardError(false);
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    const bool waylandSession = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (platform.startsWith("wayland") && !HasWaylandSupport()) {
        std::fprintf(stderr,
                     "antcolony: the window system \"%s\" could not be started: it needs %s\n",
                     platform.constData(), WaylandHint);
    } else if (const QByteArray missing = platform.startsWith("wayland") ? MissingCompositor() : "";
               !missing.isEmpty()) {
        std::fprintf(stderr,
                     "antcolony: the window system \"%s\" could not be started: there is no "
                     "Wayland compositor to connect to (%s)\n",
                     platform.constData(), missing.constData());
    } else if (!platform.isEmpty() && !platform.startsWith("xcb")) {
        std::fprintf(stderr, "antcolony: the window system \"%s\" could not be started\n",
                     platform.constData());
    } else if (display.isEmpty() && waylandSession && !HasWaylandSupport()) {
        std::fprintf(stderr,
                     "antcolony: no display could be opened: DISPLAY is not set, and this "
                     "session's Wayland display needs %s\n",
                     WaylandHint);
    } else if (display.isEmpty()) {
        std::fprintf(stderr, "antcolony: no display could be opened: DISPLAY is not set\n");
    } else {
        std::fprintf(stderr, "antcolony: no display could be opened at DISPLAY=%s\n",
                     display.constData());
    }
    std::_Exit(EXIT_FAILURE);
}

}  // namespace

TApplication::TApplication() = default;

// Qt's own statics may already be gone when this runs after the entry
// function, so Qt objects still here (start-up failed before Run ended) are
// left for the process exit to reclaim rather than destroyed.
TApplication::~TApplication() {
    for (auto& form : forms_) {
        (void)form.release();
    }
    (void)qt_.release();
}

void TApplication::Initialize() {
    HoldClosedStandardDescriptors();
    // A reader of the report that has gone makes the write fail, which the
    // run reports, instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);
    // The program takes no arguments; Qt gets the program name alone.
    static int argc = 1;
    static char name[] = "antcolony";
    static char* argv[] = {name, nullptr};
    QtHandler = qInstallMessageHandler(StartUpFailure);
    HoldStandardError();
    qt_ = std::make_unique<QApplication>(argc, argv);
    ReleaseStandardError(true);
    qInstallMessageHandler(QtHandler);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/MAINICON")));
}

void TApplication::Run() {
    if (forms_.empty()) {
        return;
    }
    forms_.front()->show();
    QApplication::exec();
    // While the entry function still runs: forms first, their widgets need Qt.
    forms_.clear();
    qt_.reset();
}

void TApplication::ShowException(const Exception& error) {
    if (qt_ == nullptr) {
        std::fprintf(stderr, "%s\n", error.what());
        return;
    }
    QWidget* owner = forms_.empty() ? nullptr : forms_.front().get();
    QMessageBox::critical(owner, QApplication::applicationDisplayName(), error.Message());
}

namespace {
TApplication TheApplication;
}

TApplication* const Application = &TheApplication;
