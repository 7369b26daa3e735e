// Renders the application icon, the About box's shield, as PNG files for the hicolor theme:
//
//   render_icons OUT_DIR NAME SIZE...
//
// writes OUT_DIR/<size>x<size>/apps/NAME.png for each size.
#include "ui/frmAbout.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: render_icons OUT_DIR NAME SIZE...\n");
        return 2;
    }
    for (int i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "render_icons: bad size %s\n", qPrintable(args[i]));
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args[1]).arg(size);
        const QString file = dir + QLatin1Char('/') + args[2] + QStringLiteral(".png");
        if (!QDir().mkpath(dir) || !varenta::ui::DrawLogo(QSize(size, size)).save(file, "PNG")) {
            std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
