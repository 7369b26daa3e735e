#include "app/main/Wiring.h"
#include "ui/QtMessageSink.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    varenta::ui::QtMessageSink sink;
    varenta::InstallMessageSink(&sink);
    varenta::WireWindows();
    return 0;
}
