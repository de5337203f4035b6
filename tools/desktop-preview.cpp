// Shows an installed program the way a desktop menu and panel would: the desktop entry's name,
// generic name and comment in English and Dutch beside its icon, which is looked up by name in
// the hicolor theme of an install root, exactly as a desktop does. Saves a picture of the screen
// and exits non-zero when the entry, its program or an icon size cannot be found.
//
//   desktop-preview <install root> <desktop id> <screenshot.png>
//   e.g. desktop-preview /srv/bookworm orvani build/package/menu-entry.png

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QMap>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

using DesktopEntry = QMap<QString, QString>;

// The keys of the [Desktop Entry] group; other groups (actions) are not needed here.
DesktopEntry ReadDesktopEntry(const QString &path)
{
    DesktopEntry entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entry;
    QTextStream in(&file);
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith('['))
            inEntry = line == "[Desktop Entry]";
        const qsizetype equals = line.indexOf('=');
        if (inEntry && equals > 0 && !line.startsWith('#'))
            entry.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return entry;
}

QString Localised(const DesktopEntry &entry, const QString &key, const QString &language)
{
    return entry.value(key + '[' + language + ']', entry.value(key));
}

// One menu tile: the icon at menu size beside the entry's texts in one language.
QWidget *MenuTile(const DesktopEntry &entry, const QIcon &icon, const QString &language)
{
    auto *tile = new QWidget;
    auto *layout = new QGridLayout(tile);
    auto *image = new QLabel;
    image->setPixmap(icon.pixmap(48, 48));
    layout->addWidget(image, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(new QLabel("<b>" + Localised(entry, "Name", language) + "</b>"), 0, 1);
    layout->addWidget(new QLabel(Localised(entry, "GenericName", language)), 1, 1);
    auto *comment = new QLabel(Localised(entry, "Comment", language));
    comment->setWordWrap(true);
    layout->addWidget(comment, 2, 1);
    layout->setColumnStretch(1, 1);
    return tile;
}

// The icon at panel and menu sizes on a light and on a dark panel.
QWidget *IconStrip(const QIcon &icon, const QString &background)
{
    auto *strip = new QLabel;
    QPixmap picture(16 + 24 + 32 + 48 + 64 + 6 * 12, 64 + 16);
    picture.fill(QColor(background));
    QPainter painter(&picture);
    int x = 12;
    for (int size : {16, 24, 32, 48, 64}) {
        painter.drawPixmap(x, 8 + (64 - size) / 2, icon.pixmap(size, size));
        x += size + 12;
    }
    painter.end();
    strip->setPixmap(picture);
    return strip;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: desktop-preview <install root> <desktop id> <screenshot.png>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString id = QString::fromLocal8Bit(argv[2]);
    const QString screenshot = QString::fromLocal8Bit(argv[3]);

    const DesktopEntry entry = ReadDesktopEntry(root + "/usr/share/applications/" + id + ".desktop");
    QIcon::setThemeSearchPaths({root + "/usr/share/icons"});
    QIcon::setThemeName("hicolor");
    const QIcon icon = QIcon::fromTheme(entry.value("Icon"));
    const QString program = root + "/usr/bin/" + entry.value("Exec").section(' ', 0, 0);

    QStringList problems;
    if (entry.isEmpty())
        problems << "no desktop entry " + id;
    if (!QFileInfo(program).isExecutable())
        problems << "Exec does not name an installed program: " + program;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        if (!icon.availableSizes().contains(QSize(size, size)))
            problems << QString("no %1 px icon named %2").arg(size).arg(entry.value("Icon"));

    QWidget window;
    window.setWindowTitle(id);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(MenuTile(entry, icon, "en"));
    layout->addWidget(MenuTile(entry, icon, "nl"));
    layout->addWidget(IconStrip(icon, "#c0c0c0"));
    layout->addWidget(IconStrip(icon, "#2b2f3a"));
    window.resize(520, window.sizeHint().height());
    window.move(0, 0);
    window.show();

    // Give the window manager-less X server a moment to map and paint the window.
    QTimer::singleShot(1500, &app, [&] {
        window.screen()->grabWindow(0).copy(window.frameGeometry()).save(screenshot);
        app.quit();
    });
    app.exec();

    for (const QString &problem : problems)
        std::fprintf(stderr, "desktop-preview: %s\n", qPrintable(problem));
    std::printf("%s: %s (%s), icon %s, program %s\n", qPrintable(id), qPrintable(entry.value("Name")),
                qPrintable(entry.value("Name[nl]")), qPrintable(entry.value("Icon")), qPrintable(program));
    return problems.isEmpty() ? 0 : 1;
}
