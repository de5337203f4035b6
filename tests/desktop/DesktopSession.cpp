#include "desktop/DesktopSession.h"

#include <QDir>
#include <QFile>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>

namespace desktop {

namespace {

constexpr int StartTimeout = 30000;

xcb_atom_t Atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

xcb_window_t Root(xcb_connection_t *connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// Where a window stands on the screen.
QRect RootRect(xcb_connection_t *connection, xcb_window_t window)
{
    xcb_get_geometry_reply_t *geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    xcb_translate_coordinates_reply_t *origin = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, Root(connection), 0, 0), nullptr);
    QRect rect;
    if (geometry && origin)
        rect = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    std::free(geometry);
    std::free(origin);
    return rect;
}

// A message about a window: to the root, as a request to the window manager; else to the window's owner.
void Send(xcb_connection_t *connection, xcb_window_t window, const char *type, std::array<quint32, 5> data,
          bool toRoot = true)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(connection, type);
    std::copy(data.begin(), data.end(), event.data.data32);
    xcb_send_event(connection, 0, toRoot ? Root(connection) : window,
                   toRoot ? XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY : 0,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(connection);
}

// openbox's stock configuration less its iconify animation: restoring a window, openbox first
// maps the frame where it belongs and then, on its animation timer, moves it in from the task
// bar, so a test that saw the frame in place could read a passing position a moment later.
QStringList OpenboxArguments()
{
    static QTemporaryDir folder;
    const QString config = folder.filePath("rc.xml");
    QFile stock("/etc/xdg/openbox/rc.xml");
    QFile calm(config);
    if (!QFile::exists(config) && stock.open(QIODevice::ReadOnly) && calm.open(QIODevice::WriteOnly))
        calm.write(stock.readAll().replace("<animateIconify>yes</animateIconify>", "<animateIconify>no</animateIconify>"));
    return QFile::exists(config) ? QStringList{"--sm-disable", "--config-file", config} : QStringList{"--sm-disable"};
}

} // namespace

// icewm's own task bar carries a notification area, as its users have it; trayer beside it would
// only contend with it for the tray.
const std::vector<TWindowManager> &WindowManagers()
{
    static const std::vector<TWindowManager> managers = {
        {"openbox", OpenboxArguments(), false},
        {"icewm", {}, true},
    };
    return managers;
}

std::string WindowManagerName(const testing::TestParamInfo<TWindowManager> &info)
{
    return info.param.Name;
}

void PrintTo(const TWindowManager &windowManager, std::ostream *stream)
{
    *stream << windowManager.Name;
}

// A machine busy with other tests may leave one part of the desktop unstarted (once, a tray that
// did not come up twice in a row); further tries tell such a slip from a desktop that cannot
// start here.
TDesktop::TDesktop(int dpi, QSize screen, const TWindowManager &windowManager)
{
    for (int attempt = 0; attempt < 3 && !FReady; ++attempt) {
        if (const char *failed = Launch(dpi, screen, windowManager)) {
            std::fprintf(stderr, "desktop: no %s (try %d)\n", failed, attempt + 1);
            Stop();
        } else {
            FReady = true;
        }
    }
}

const char *TDesktop::Launch(int dpi, QSize screen, const TWindowManager &windowManager)
{
    auto server = std::make_unique<QProcess>();
    server->start("Xvfb", {"-displayfd", "1", "-screen", "0", QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()),
                           "-dpi", QString::number(dpi), "-nolisten", "tcp"});
    QProcess *x = server.get();
    FProcesses.push_back(std::move(server));
    if (!x->waitForStarted() || !WaitFor([x] { return x->canReadLine(); }, StartTimeout))
        return "Xvfb";
    FDisplay = ":" + QString::fromLatin1(x->readLine()).trimmed();
    FConnection = xcb_connect(FDisplay.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(FConnection))
        return "connection to Xvfb";
    // Qt takes the logical dpi of an X11 desktop from the Xft.dpi resource, as desktops set it.
    const QByteArray resources = "Xft.dpi:\t" + QByteArray::number(dpi) + "\n";
    xcb_change_property(FConnection, XCB_PROP_MODE_REPLACE, Root(FConnection), XCB_ATOM_RESOURCE_MANAGER,
                        XCB_ATOM_STRING, 8, resources.size(), resources.constData());
    // Where a program answers a ping.
    const quint32 mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(FConnection, Root(FConnection), XCB_CW_EVENT_MASK, &mask);
    xcb_flush(FConnection);

    std::vector<quint32> check;
    if (!Start(windowManager.Name, windowManager.Arguments) ||
        !WaitFor([&] { return !Property(Root(FConnection), "_NET_SUPPORTING_WM_CHECK", "WINDOW", &check).isNull(); },
                 StartTimeout))
        return windowManager.Name;
    if (!windowManager.HasTray &&
        !Start("trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "120",
                          "--height", "24", "--SetDockType", "true", "--SetPartialStrut", "true"}))
        return "trayer";
    // The task bar or trayer has taken its room at the bottom and hosts the tray.
    if (!WaitFor([&] { return HasTray() && WorkArea().height() < screen.height(); }, StartTimeout)) {
        if (!HasTray())
            return windowManager.HasTray ? "the window manager's tray" : "trayer's tray";
        return "room for the tray in the work area";
    }
    return nullptr;
}

TDesktop::~TDesktop()
{
    Stop();
}

void TDesktop::Stop()
{
    if (FConnection)
        xcb_disconnect(FConnection);
    FConnection = nullptr;
    // The window manager and the tray before the server they live on.
    std::reverse(FProcesses.begin(), FProcesses.end());
    for (auto &process : FProcesses) {
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process->waitForFinished(5000);
    }
    FProcesses.clear();
}

bool TDesktop::Start(const QString &program, const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", FDisplay);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(program, arguments);
    const bool started = process->waitForStarted();
    FProcesses.push_back(std::move(process));
    return started;
}

// The text of a property, or its 32-bit values; a null string when the window has none.
QString TDesktop::Property(unsigned window, const char *name, const char *type, std::vector<quint32> *values) const
{
    const xcb_atom_t typeAtom = std::strcmp(type, "ANY") == 0 ? xcb_atom_t(XCB_ATOM_ANY) : Atom(FConnection, type);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        FConnection, xcb_get_property(FConnection, 0, window, Atom(FConnection, name), typeAtom, 0, 4096), nullptr);
    if (!reply)
        return {};
    QString text;
    if (reply->type != XCB_ATOM_NONE) {
        const auto *data = static_cast<const char *>(xcb_get_property_value(reply));
        const int length = xcb_get_property_value_length(reply);
        text = QString::fromUtf8(data, length);
        if (text.isNull())
            text = QLatin1String("");
        if (values && reply->format == 32 && length >= 4) {
            values->resize(length / 4);
            std::memcpy(values->data(), data, values->size() * 4);
        }
    }
    std::free(reply);
    return text;
}

QRect TDesktop::WorkArea() const
{
    std::vector<quint32> area;
    Property(Root(FConnection), "_NET_WORKAREA", "CARDINAL", &area);
    if (area.size() < 4)
        return {};
    return QRect(int(area[0]), int(area[1]), int(area[2]), int(area[3]));
}

bool TDesktop::HasTray() const
{
    xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(
        FConnection, xcb_get_selection_owner(FConnection, Atom(FConnection, "_NET_SYSTEM_TRAY_S0")), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

std::vector<TClientWindow> TDesktop::Windows(qint64 pid) const
{
    std::vector<TClientWindow> windows;
    std::vector<quint32> clients;
    Property(Root(FConnection), "_NET_CLIENT_LIST", "WINDOW", &clients);
    std::vector<unsigned> transients;
    for (const quint32 id : clients) {
        std::vector<quint32> value;
        Property(id, "_NET_WM_PID", "CARDINAL", &value);
        if (value.empty() || qint64(value[0]) != pid)
            continue;
        TClientWindow window;
        window.Id = id;
        window.Client = RootRect(FConnection, id);
        if (Property(id, "_NET_FRAME_EXTENTS", "CARDINAL", &value); value.size() == 4)
            window.Frame = QMargins(int(value[0]), int(value[2]), int(value[1]), int(value[3]));
        if (Property(id, "WM_STATE", "WM_STATE", &value); !value.empty())
            window.State = int(value[0]);
        if (!Property(id, "WM_TRANSIENT_FOR", "WINDOW", nullptr).isNull())
            transients.push_back(id);
        windows.push_back(window);
    }
    std::stable_partition(windows.begin(), windows.end(), [&](const TClientWindow &window) {
        return std::find(transients.begin(), transients.end(), window.Id) == transients.end();
    });
    return windows;
}

// The tray icon is no managed window: it is found among the windows embedded in the tray host.
QRect TDesktop::TrayIcon(qint64 pid) const
{
    std::vector<xcb_window_t> pending{Root(FConnection)};
    while (!pending.empty()) {
        const xcb_window_t window = pending.back();
        pending.pop_back();
        std::vector<quint32> value;
        Property(window, "_NET_WM_PID", "CARDINAL", &value);
        xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
            FConnection, xcb_get_window_attributes(FConnection, window), nullptr);
        const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        if (!value.empty() && qint64(value[0]) == pid && viewable && !Property(window, "_XEMBED_INFO", "ANY", nullptr).isNull()) {
            return RootRect(FConnection, window);
        }
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(FConnection, xcb_query_tree(FConnection, window), nullptr);
        if (tree) {
            const xcb_window_t *children = xcb_query_tree_children(tree);
            pending.insert(pending.end(), children, children + xcb_query_tree_children_length(tree));
            std::free(tree);
        }
    }
    return {};
}

void TDesktop::Click(QPoint point, int button, int count) const
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", FDisplay);
    tool.setProcessEnvironment(environment);
    tool.start("xdotool", {"mousemove", "--sync", QString::number(point.x()), QString::number(point.y()), "click",
                           "--repeat", QString::number(count), "--delay", "60", QString::number(button)});
    tool.waitForFinished(StartTimeout);
}

void TDesktop::Close(unsigned window) const
{
    Send(FConnection, window, "_NET_CLOSE_WINDOW", {0, 2, 0, 0, 0});
}

void TDesktop::Activate(unsigned window) const
{
    Send(FConnection, window, "_NET_ACTIVE_WINDOW", {2, 0, 0, 0, 0});
}

bool TDesktop::Ping(unsigned window) const
{
    static quint32 pings = 0;
    const quint32 ping = Atom(FConnection, "_NET_WM_PING"), token = ++pings;
    Send(FConnection, window, "WM_PROTOCOLS", {ping, token, window, 0, 0}, false);
    return WaitFor([&] {
        bool answered = false;
        while (xcb_generic_event_t *event = xcb_poll_for_event(FConnection)) {
            const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event);
            answered |= (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                        message->data.data32[0] == ping && message->data.data32[1] == token;
            std::free(event);
        }
        return answered;
    });
}

// The window manager frames a window of the test's own, never shown, when asked.
bool TDesktop::WindowManagerRoundTrip() const
{
    const xcb_window_t probe = xcb_generate_id(FConnection);
    xcb_create_window(FConnection, XCB_COPY_FROM_PARENT, probe, Root(FConnection), 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    Send(FConnection, probe, "_NET_REQUEST_FRAME_EXTENTS", {0, 0, 0, 0, 0});
    const bool answered =
        WaitFor([&] { return !Property(probe, "_NET_FRAME_EXTENTS", "CARDINAL", nullptr).isNull(); });
    xcb_destroy_window(FConnection, probe); // sent with the next request
    return answered;
}

QImage TDesktop::Grab(QRect rect) const
{
    rect = rect.isNull() ? RootRect(FConnection, Root(FConnection)) : rect;
    xcb_get_image_reply_t *reply = xcb_get_image_reply(
        FConnection,
        xcb_get_image(FConnection, XCB_IMAGE_FORMAT_Z_PIXMAP, Root(FConnection), rect.x(), rect.y(), rect.width(),
                      rect.height(), ~0u),
        nullptr);
    QImage image;
    // A 24-bit screen gives 32 bits a pixel, as QImage's RGB32 holds them.
    if (reply && xcb_get_image_data_length(reply) == rect.width() * rect.height() * 4)
        image = QImage(xcb_get_image_data(reply), rect.width(), rect.height(), QImage::Format_RGB32).copy();
    std::free(reply);
    return image;
}

TProgram::TProgram(const QStringList &values)
{
    QDir(FHome.path()).mkpath("config/KX");
    QDir(FHome.path()).mkpath("run");
    QFile::setPermissions(FHome.path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QString text = "Windows Registry Editor Version 5.00\n";
    for (const char *subkey : {"Algemeen", "Positie"}) {
        text += QStringLiteral("\n[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\%1]\n").arg(subkey);
        for (const QString &value : values) {
            if (value.startsWith(QLatin1String(subkey) + "\\")) {
                const QString nameAndValue = value.mid(value.indexOf('\\') + 1);
                const int equals = nameAndValue.indexOf('=');
                text += '"' + nameAndValue.left(equals) + "\"=" + nameAndValue.mid(equals + 1) + "\n";
            }
        }
    }
    QFile store(FHome.path() + "/config/KX/Orvani.reg");
    if (store.open(QIODevice::WriteOnly))
        store.write(text.toUtf8());
}

TProgram::~TProgram()
{
    if (FProcess.state() != QProcess::NotRunning) {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }
}

void TProgram::Run(QProcess &process, const QProcessEnvironment &environment, const QString &home,
                   const QStringList &arguments)
{
    QProcessEnvironment own = environment;
    own.insert("XDG_CONFIG_HOME", home + "/config");
    own.insert("XDG_RUNTIME_DIR", home + "/run");
    if (QFile::exists(home + "/config/qt6ct/qt6ct.conf"))
        own.insert("QT_QPA_PLATFORMTHEME", "qt6ct");
    process.setProcessEnvironment(own);
    process.start(qEnvironmentVariable("ORVANI_BUILD_DIR") + "/orvani", arguments);
    process.waitForStarted();
}

int TProgram::Status(const QProcess &process)
{
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TProgram::Start(const QProcessEnvironment &environment, const QStringList &arguments)
{
    Run(FProcess, environment, FHome.path(), arguments);
}

int TProgram::StartAgain(const QProcessEnvironment &environment)
{
    QProcess second;
    Run(second, environment, FHome.path(), {});
    return second.waitForFinished(StartTimeout) ? Status(second) : -1;
}

void TProgram::SetTheme(testsupport::TTheme theme, int fontPoints)
{
    const QString dir = FHome.path() + "/config/qt6ct";
    if (theme == testsupport::TTheme::Light && !QFile::exists(dir + "/qt6ct.conf"))
        return; // Qt's own
    QDir().mkpath(dir);
    const QPalette palette = testsupport::ThemePalette(theme);
    QString scheme = "[ColorScheme]\n";
    const std::pair<const char *, QPalette::ColorGroup> groups[] = {
        {"active_colors", QPalette::Active}, {"inactive_colors", QPalette::Inactive}, {"disabled_colors", QPalette::Disabled}};
    for (const auto &[key, group] : groups) {
        QStringList colors;
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            colors << palette.color(group, QPalette::ColorRole(role)).name(QColor::HexArgb);
        scheme += QLatin1String(key) + '=' + colors.join(", ") + '\n';
    }
    // The scheme first: the settings file is what qt6ct watches.
    QFile schemeFile(dir + "/scheme.conf");
    if (schemeFile.open(QIODevice::WriteOnly))
        schemeFile.write(scheme.toUtf8());
    schemeFile.close();
    QFile settings(dir + "/qt6ct.conf");
    if (settings.open(QIODevice::WriteOnly))
        // Qt's own default fonts, as without a platform theme, at the size asked for.
        settings.write(QStringLiteral("[Appearance]\ncustom_palette=true\ncolor_scheme_path=%1\nstyle=Fusion\n"
                                      "standard_dialogs=default\n# %2\n[Fonts]\n"
                                      "general=\"Sans Serif,%3,-1,5,50,0,0,0,0,0\"\n"
                                      "fixed=\"Monospace,%3,-1,5,50,0,0,0,0,0\"\n")
                           .arg(schemeFile.fileName(), testsupport::ThemeName(theme), QString::number(fontPoints))
                           .toUtf8());
}

int TProgram::Terminate()
{
    if (FProcess.state() != QProcess::Running)
        return Status(FProcess);
    ::kill(static_cast<pid_t>(FProcess.processId()), SIGTERM);
    return FProcess.waitForFinished(StartTimeout) ? Status(FProcess) : -1;
}

QString TProgram::Stored(const QString &subkeyAndName) const
{
    QFile store(FHome.path() + "/config/KX/Orvani.reg");
    if (!store.open(QIODevice::ReadOnly))
        return {};
    const QString subkey = subkeyAndName.section('\\', 0, 0);
    const QString prefix = '"' + subkeyAndName.section('\\', 1) + "\"=";
    QString section;
    for (const QString &line : QString::fromUtf8(store.readAll()).split('\n')) {
        if (line.startsWith('['))
            section = line.section('\\', -1).chopped(1);
        else if (section.compare(subkey, Qt::CaseInsensitive) == 0 && line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    }
    return {};
}

int TProgram::StoredInt(const QString &subkeyAndName) const
{
    return int(Stored(subkeyAndName).section(':', 1).toUInt(nullptr, 16));
}

QProcessEnvironment DesktopEnvironment(const TDesktop &desktop)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
        environment.remove(name);
    environment.insert("DISPLAY", desktop.Display());
    return environment;
}

} // namespace desktop
