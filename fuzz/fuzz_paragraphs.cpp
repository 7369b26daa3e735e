// The paragraph files and INVAL.TXT, as a site installs them: the first byte of the input
// chooses the file, the rest is its text, and every kind of report is written with it.
#include "FuzzSupport.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "store/ClientStore.h"

#include <QFile>

using namespace varenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kFiles[] = {"QVTR.TXT", "qvalmo.txt", "qvdgmo.txt",
                                         "QVAG.TXT", "QVSC.TXT",   "INVAL.TXT"};
    if (size < 1)
        return 0;
    fuzz::SetUp(fuzz::VariedClients());
    const QString name = QString::fromLatin1(kFiles[data[0] % 6]);
    const QString path = fuzz::ProgramDir() + QLatin1Char('/') + name;
    const QByteArray original = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    fuzz::Put(path, fuzz::Bytes(data + 1, size - 1));
    try {
        LoadClients();
    } catch (const VError&) {
        fuzz::Put(path, original);
        return 0;
    }
    for (int n = 1; n <= Globals().ClientCount; ++n) {
        Globals().CurrentClient = qint16(n);
        fuzz::ScoreAndView();
    }
    fuzz::Put(path, original); // the next input may choose another file
    return 0;
}
