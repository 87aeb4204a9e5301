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

QOpenGLContext* shareContext = nullptr;

// The engine's GPU thread uses the shared context until the engine shuts
// down, which it does in a routine of its own at the application's end. Qt
// runs those routines last added first: this one, added before the engine
// starts, runs after the engine is down.
void releaseShareContext()
{
    qt_gl_set_global_share_context(nullptr);
    delete std::exchange(shareContext, nullptr);
}

// The web engine renders through a context shared with Qt's. Qt makes one at
// start when asked (Qt::AA_ShareOpenGLContexts), but creating it there costs
// the main window as much time again as all the rest of its start; made here,
// just before the engine loads, it is paid after the window is up.
void shareOpenGL()
{
    if (qt_gl_global_share_context())
        return;
    auto context = std::make_unique<QOpenGLContext>();
    if (!context->create())
        return;  // no OpenGL here: the engine draws in software
    shareContext = context.release();
    qt_gl_set_global_share_context(shareContext);
    qAddPostRoutine(releaseShareContext);
}

}  // namespace

// Read as the engine reads QTWEBENGINE_CHROMIUM_FLAGS: words split at
// spaces, double quotes dropped but keeping the spaces between them in one
// word; then as Chromium reads its command line: a switch starts with "--"
// or "-", may carry "=value", and none follow a bare "--".
bool chromiumFlagsTurnOffSandbox(const QString& flags)
{
    QStringList words;
    QString word;
    bool quoted = false;
    for (const QChar c : flags) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (!word.isEmpty())
                words << word;
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words << word;
    for (const QString& each : words) {
        if (each == QLatin1String("--"))
            break;
        QStringView name(each);
        if (name.startsWith(QLatin1String("--")))
            name = name.mid(2);
        else if (name.startsWith(QLatin1Char('-')))
            name = name.mid(1);
        else
            continue;
        if (name.left(name.indexOf(QLatin1Char('='))) == QLatin1String("no-sandbox"))
            return true;
    }
    return false;
}

void prepareProcess()
{
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    qputenv("MESA_SHADER_CACHE_DISABLE", "true");
    // The engine describes its OpenGL set-up on every start; users need not
    // read it (QT_LOGGING_RULES can still turn it on).
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));

    // As root the engine refuses its sandbox and ends the whole process, and
    // every figure on screen with it. So as root it always runs without: the
    // engine's own reading of its switches must never be the one that
    // decides. It is said only when the user did not choose it.
    const bool userChose = qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX") ||
                           chromiumFlagsTurnOffSandbox(qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS"));
    if (geteuid() == 0) {
        if (!userChose)
            qCWarning(lcStartup, "running as root, so the help browser runs without its sandbox");
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
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

DeferredHelp::~DeferredHelp() = default;

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
