#include "startup.h"

#include "module_loader.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QTimer>
#include <QWidget>
#include <QtGui/private/qopenglcontext_p.h>

#include <fontconfig/fontconfig.h>

#include <unistd.h>

namespace tivora {

namespace {

// What the program says on stderr goes through these, so that users can
// silence or raise it with QT_LOGGING_RULES ("tivora.*=false").
Q_LOGGING_CATEGORY(lcStartup, "tivora.startup", QtInfoMsg)
Q_LOGGING_CATEGORY(lcHelp, "tivora.help", QtInfoMsg)

}  // namespace

// The engine reads whole switches: "--no-sandbox-xyz" leaves the sandbox on.
bool chromiumFlagsTurnOffSandbox(const QString& flags)
{
    return flags.split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(QLatin1String("--no-sandbox"));
}

void prepareProcess()
{
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    qputenv("MESA_SHADER_CACHE_DISABLE", "true");
    // The engine describes its OpenGL set-up on every start; users need not
    // read it (QT_LOGGING_RULES can still turn it on).
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));

    // As root the engine refuses its sandbox and ends the whole process, and
    // every figure on screen with it. Unless the user chose otherwise, run it
    // without the sandbox then, and say so.
    const bool userChose = qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX") ||
                           chromiumFlagsTurnOffSandbox(qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS"));
    if (geteuid() == 0 && !userChose) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        qCWarning(lcStartup, "running as root, so the help browser runs without its sandbox");
    }
}

// Parsing some thirty configuration files and the font caches is the longest
// step between the application object and the first line of text; Qt's
// font database starts by asking for it.
std::future<void> readFontConfigurationAhead()
{
    return std::async(std::launch::async, [] { FcInit(); });
}

std::unique_ptr<HelpAccess> loadHelpModule()
{
    QString error;
    if (auto* module = loadModule<HelpModule>(QStringLiteral(TIVORA_HELP_MODULE_FILE), error))
        return module->createHelp();
    qCWarning(lcHelp, "no help window: %s", qPrintable(error));
    return nullptr;
}

DeferredHelp::DeferredHelp(Factory factory) : factory_(std::move(factory)) {}

void DeferredHelp::buildAfterFirstPaintOf(QWidget* mainWindow)
{
    mainWindow_ = mainWindow;
    mainWindow->installEventFilter(this);
}

bool DeferredHelp::eventFilter(QObject* watched, QEvent* event)
{
    // The filter sees the first paint before it happens; build once it is done.
    if (watched == mainWindow_ && event->type() == QEvent::Paint) {
        mainWindow_->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] { help(); });
    }
    return false;
}

DeferredHelp::~DeferredHelp()
{
    help_.reset();  // web views and profiles first, then the context they shared
    if (shareContext_)
        qt_gl_set_global_share_context(nullptr);
}

// The web engine renders through a context shared with Qt's. Qt makes one at
// start when asked (Qt::AA_ShareOpenGLContexts), but creating it there costs
// the main window as much time again as all the rest of its start; made here,
// just before the engine loads, it is paid after the window is up.
void DeferredHelp::shareOpenGL()
{
    if (qt_gl_global_share_context())
        return;
    shareContext_ = std::make_unique<QOpenGLContext>();
    if (shareContext_->create())
        qt_gl_set_global_share_context(shareContext_.get());
    else
        shareContext_.reset();  // no OpenGL here: the engine draws in software
}

HelpAccess* DeferredHelp::help()
{
    if (!help_ && factory_) {
        shareOpenGL();
        help_ = std::exchange(factory_, nullptr)();  // one try: a failure is said once
        if (help_ && pendingAddress_)
            help_->navigate(*pendingAddress_);
        pendingAddress_.reset();
    }
    return help_.get();
}

void DeferredHelp::show()
{
    if (HelpAccess* helpWindow = help())
        helpWindow->show();
}

void DeferredHelp::navigate(const QUrl& address)
{
    if (help_)
        help_->navigate(address);
    else
        pendingAddress_ = address;
}

}  // namespace tivora
