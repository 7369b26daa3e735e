#pragma once

#include "checkout/Checkout.h"
#include "support/TestSupport.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

// A small scoring table set for the checkout tests, written into a program folder: few items
// per scale, answer keys built so that the baseline answers earn nothing, and norms that
// tell gender and race apart (percentile = 10 * gender + race + raw points).
namespace varenta::testing {

struct CheckoutTables {
    std::vector<int> truth = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    std::vector<int> scale2 = {20, 21, 22, 64, 104};
    std::vector<int> scale3 = {30, 31, 98, 99};
    std::vector<int> scale4 = {40, 41, 42, 100};
    // Each scale's part of the 45 minimum-rule entries; the rest are 0 (no item).
    std::vector<int> rules2 = {20, 21, 22, 64, 104};
    std::vector<int> rules3 = {30, 31, 98, 99};
    std::vector<int> rules4 = {40, 41, 42, 100};
    QString scaleNames[5] = {QStringLiteral("TRUTHFULNESS"), QStringLiteral("ALCOHOL"),
                             QStringLiteral("DRUGS"), QStringLiteral("AGGRESSIVENESS"),
                             QStringLiteral("STRESS COPING")};

    // Points of answer `code` to `item`: 0 for the baseline answer and for no answer; a truth
    // item's other answer earns 1; a scale item's other answers earn 1, 2, 3 in code order
    // (true/false items have only one other answer: 2 points for the first item of each
    // scale list, 3 for the others).
    int Points(int item, int code) const;

    // Writes QVB.TXT and QVRPT.TXT into `folder`.
    void Write(const QString& folder) const;
};

namespace detail {

inline bool Contains(const std::vector<int>& v, int item) {
    return std::find(v.begin(), v.end(), item) != v.end();
}

inline int SectionStart(int section) {
    return section == 1 ? 0 : section == 2 ? 63 : 97;
}
inline int SectionEndItem(int section) {
    return section == 1 ? 63 : section == 2 ? 97 : 116;
}

} // namespace detail

inline int CheckoutTables::Points(int item, int code) const {
    const QString baseline = checkout::BaselineResponses();
    const int base = baseline[item - 1].digitValue();
    if (code == 0 || code == base)
        return 0;
    if (detail::Contains(truth, item))
        return 1;
    const std::vector<int>* lists[3] = {&scale2, &scale3, &scale4};
    for (const auto* list : lists) {
        if (!detail::Contains(*list, item))
            continue;
        if (item <= 63)
            return item == list->front() ? 2 : 3;
        int rank = 0; // the other answers in code order earn 1, 2, 3
        for (int c = 1; c < code; ++c)
            if (c != base)
                ++rank;
        return rank + 1;
    }
    return 0;
}

inline void CheckoutTables::Write(const QString& folder) const {
    QStringList b;
    for (int i = 0; i < 24; ++i)
        b << QString::number(20 + i);
    for (int section = 1; section <= 3; ++section) {
        const int highest = section == 1 ? 2 : 4;
        for (int code = 0; code <= highest; ++code) {
            QString key;
            for (int item = detail::SectionStart(section) + 1;
                 item <= detail::SectionEndItem(section); ++item)
                key += QChar(u'0' + Points(item, code));
            b << QLatin1Char('"') + key + QLatin1Char('"');
        }
    }
    for (int g = 1; g <= 2; ++g)
        for (int r = 1; r <= 3; ++r)
            for (int s = 1; s <= 4; ++s) {
                b << QStringLiteral("64");
                for (int raw = 1; raw <= 64; ++raw)
                    b << QString::number(std::min(99, 10 * g + r + raw));
            }
    for (int g = 1; g <= 2; ++g)
        for (int r = 1; r <= 3; ++r)
            b << QStringLiteral("2") << QString::number(30 + r) << QString::number(60 + g);
    for (int g = 1; g <= 2; ++g)
        b << QStringLiteral("3") << QStringLiteral("0") << QStringLiteral("50")
          << QStringLiteral("500");
    for (const auto* list : {&truth, &scale2, &scale3, &scale4}) {
        b << QString::number(list->size());
        for (int item : *list)
            b << QString::number(item);
    }
    const std::pair<const std::vector<int>*, size_t> parts[3] = {
        {&rules2, 13}, {&rules3, 17}, {&rules4, 15}};
    for (const auto& [list, size] : parts)
        for (size_t i = 0; i < size; ++i)
            b << QString::number(i < list->size() ? (*list)[i] : 0);
    for (int s = 2; s <= 5; ++s)
        for (int band = 1; band <= 9; ++band)
            b << QString::number(band);
    WriteFile(folder + QStringLiteral("/QVB.TXT"),
              b.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");

    QStringList t;
    for (const QString& name : scaleNames)
        t << QLatin1Char('"') + name + QLatin1Char('"');
    t << QStringLiteral("LOW") << QStringLiteral("MEDIUM") << QStringLiteral("PROBLEM")
      << QStringLiteral("SEVERE");
    for (int i = 1; i <= 24; ++i)
        t << QStringLiteral("Significant item text %1").arg(i);
    for (int i = 1; i <= 76; ++i)
        t << QStringLiteral("Choice %1").arg(i);
    WriteFile(folder + QStringLiteral("/QVRPT.TXT"),
              t.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
}

} // namespace varenta::testing
