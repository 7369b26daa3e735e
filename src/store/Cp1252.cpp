#include "store/Cp1252.h"

namespace varenta::cp1252 {

namespace {

// Bytes 0x80..0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

QChar DecodeByte(unsigned char b) {
    if (b >= 0x80 && b < 0xA0) {
        const char16_t u = kHigh[b - 0x80];
        // The undefined bytes map to the control characters of the same value, as Windows does.
        return QChar(u ? u : char16_t(b));
    }
    return QChar(char16_t(b));
}

QString Decode(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.append(DecodeByte(static_cast<unsigned char>(c)));
    return out;
}

int ByteOf(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == u || (kHigh[i] == 0 && u == 0x80 + i))
            return 0x80 + i;
    }
    return -1;
}

bool CanEncode(QChar c) {
    return ByteOf(c) >= 0;
}

QByteArray Encode(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const int b = ByteOf(c);
        out.append(b >= 0 ? char(b) : '?');
    }
    return out;
}

} // namespace varenta::cp1252
