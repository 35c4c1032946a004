#include "XWindows.h"

#include "Poll.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

QString hex(XWindows::Id window) {
    return QStringLiteral("0x%1").arg(window, 0, 16);
}

} // namespace

XWindows::XWindows(const QString& display) : m_display(display) {}

QList<XWindows::Id> XWindows::find(const QString& title, qint64 pid, bool visibleOnly) const {
    QStringList args{QStringLiteral("search"), QStringLiteral("--all")};
    if (visibleOnly)
        args << QStringLiteral("--onlyvisible");
    if (pid != 0)
        args << QStringLiteral("--pid") << QString::number(pid);
    args << QStringLiteral("--name")
         << QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
    QByteArray output;
    QList<Id> windows;
    // xdotool ends with 1 when nothing matches; that is an empty answer, not a failure.
    tool(QStringLiteral("xdotool"), args, &output);
    for (const QByteArray& line : output.split('\n')) {
        bool ok = false;
        const Id window = line.trimmed().toULongLong(&ok);
        if (ok)
            windows << window;
    }
    return windows;
}

XWindows::Id XWindows::shown(const QString& title, const QString& type, qint64 pid) const {
    for (Id window : find(title, pid)) {
        // A dialog names NORMAL as its fallback type: only the first one counts.
        if (types(window).value(0) == type)
            return window;
    }
    return 0;
}

XWindows::Id XWindows::waitFor(const QString& title, const QString& type, qint64 pid,
                               int timeoutMs) const {
    Id found = 0;
    Poll::until([&] { return (found = shown(title, type, pid)) != 0; }, timeoutMs);
    return found;
}

QStringList XWindows::types(Id window) const {
    return atomNames(window, QStringLiteral("_NET_WM_WINDOW_TYPE"));
}

QStringList XWindows::states(Id window) const {
    return atomNames(window, QStringLiteral("_NET_WM_STATE"));
}

XWindows::Id XWindows::trayIcon(qint64 pid) const {
    constexpr int IconMaxSize = 32;
    QByteArray output;
    tool(QStringLiteral("xdotool"),
         {QStringLiteral("search"), QStringLiteral("--pid"), QString::number(pid)}, &output);
    for (const QByteArray& line : output.split('\n')) {
        const Id window = line.trimmed().toULongLong();
        if (window == 0 || !isMapped(window))
            continue;
        const QSize size = geometry(window).size();
        if (size.width() <= IconMaxSize && size.height() <= IconMaxSize)
            return window;
    }
    return 0;
}

bool XWindows::click(Id window, int button, QPoint at) const {
    if (at.isNull())
        at = geometry(window).center();
    return tool(QStringLiteral("xdotool"),
                {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                 QStringLiteral("click"), QString::number(button)});
}

bool XWindows::isMapped(Id window) const {
    return xwininfo(window).contains(QStringLiteral("Map State: IsViewable"));
}

QRect XWindows::geometry(Id window) const {
    const QString info = xwininfo(window);
    auto number = [&](const char* label) {
        const QRegularExpression pattern(QString::fromLatin1(label) +
                                         QStringLiteral(":\\s+(-?\\d+)"));
        return pattern.match(info).captured(1).toInt();
    };
    return QRect(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
                 number("Height"));
}

QRect XWindows::frameGeometry(Id window) const {
    // _NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom
    static const QRegularExpression extents(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
    const auto match = extents.match(xprop(window, QStringLiteral("_NET_FRAME_EXTENTS")));
    if (!match.hasMatch())
        return geometry(window);
    return geometry(window).adjusted(-match.captured(1).toInt(), -match.captured(3).toInt(),
                                     match.captured(2).toInt(), match.captured(4).toInt());
}

QSize XWindows::minimumSize(Id window) const {
    return normalHintSize(window, QStringLiteral("minimum"));
}

QSize XWindows::maximumSize(Id window) const {
    return normalHintSize(window, QStringLiteral("maximum"));
}

QSize XWindows::screenSize() const {
    QByteArray output;
    tool(QStringLiteral("xwininfo"), {QStringLiteral("-root")}, &output);
    static const QRegularExpression width(QStringLiteral("Width: (\\d+)"));
    static const QRegularExpression height(QStringLiteral("Height: (\\d+)"));
    const QString info = QString::fromLatin1(output);
    return QSize(width.match(info).captured(1).toInt(), height.match(info).captured(1).toInt());
}

QRect XWindows::workArea() const {
    QByteArray output;
    tool(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_WORKAREA")},
         &output);
    static const QRegularExpression area(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
    const auto match = area.match(QString::fromLatin1(output));
    return match.hasMatch() ? QRect(match.captured(1).toInt(), match.captured(2).toInt(),
                                    match.captured(3).toInt(), match.captured(4).toInt())
                            : QRect(QPoint(), screenSize());
}

bool XWindows::close(Id window) const {
    return tool(QStringLiteral("wmctrl"),
                {QStringLiteral("-i"), QStringLiteral("-c"), hex(window)});
}

bool XWindows::activate(Id window) const {
    return Poll::until(
        [&] {
            tool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), hex(window)});
            return activeWindow() == window;
        },
        Poll::ChangeLimitMs);
}

bool XWindows::pressKey(Id window, const QString& key) const {
    // Sent to a window that is not active yet, a key reaches the wrong widget or none: so make
    // it the active window first and then type as a keyboard would.
    return activate(window) && typeKey(key);
}

bool XWindows::typeKey(const QString& key) const {
    return tool(QStringLiteral("xdotool"),
                {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key});
}

XWindows::Id XWindows::activeWindow() const {
    QByteArray active;
    tool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}, &active);
    return active.trimmed().toULongLong();
}

bool XWindows::minimize(Id window) const {
    return tool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), hex(window)});
}

bool XWindows::screenshot(const QString& pngPath) const {
    return tool(QStringLiteral("import"),
                {QStringLiteral("-window"), QStringLiteral("root"), pngPath});
}

bool XWindows::tool(const QString& program, const QStringList& arguments,
                    QByteArray* output) const {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    process.setProcessEnvironment(env);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(Poll::ChangeLimitMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QSize XWindows::normalHintSize(Id window, const QString& which) const {
    const QRegularExpression size(
        QStringLiteral("program specified %1 size: (\\d+) by (\\d+)").arg(which));
    const auto match = size.match(xprop(window, QStringLiteral("WM_NORMAL_HINTS")));
    return match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
}

QString XWindows::xprop(Id window, const QString& property) const {
    QByteArray output;
    tool(QStringLiteral("xprop"), {QStringLiteral("-id"), hex(window), property}, &output);
    return QString::fromLatin1(output);
}

QStringList XWindows::atomNames(Id window, const QString& property) const {
    // "_NET_WM_STATE(ATOM) = _NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_ABOVE"
    const QString prefix = property + QLatin1Char('_');
    QStringList names;
    const QString output = xprop(window, property);
    const qsizetype equals = output.indexOf(QLatin1Char('='));
    if (equals < 0)
        return names;
    for (const QString& atom : output.mid(equals + 1).split(QLatin1Char(','))) {
        const QString name = atom.trimmed();
        if (name.startsWith(prefix))
            names << name.mid(prefix.size());
    }
    return names;
}

QString XWindows::xwininfo(Id window) const {
    QByteArray output;
    tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), hex(window)}, &output);
    return QString::fromLatin1(output);
}
