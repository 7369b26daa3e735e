#pragma once

#include "checkout/Checkout.h"
#include "support/TestSupport.h"

#include <QStringList>

#include <algorithm>
#include <vector>

// A small scoring table set for the checkout tests, written into a program folder: few items
// per scale, answer keys built so that the baseline answers earn nothing, and norms that
// tell gender and race apart (percentile = 10 * gender + race + raw points).
namespace varenta::testing {

struct CheckoutTables {
    // The items of scales 1..4; those of scales 2..4 are also their part of the 45
    // minimum-rule entries (the rest are 0, no item).
    std::vector<int> items[5] = {{},
                                 {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                                 {20, 21, 22, 64, 104},
                                 {30, 31, 98, 99},
                                 {40, 41, 42, 100}};
    QStringList scaleNames = {"TRUTHFULNESS", "ALCOHOL", "DRUGS", "AGGRESSIVENESS",
                              "STRESS COPING"};

    // Points of answer `code` to `item`: 0 for the baseline answer and for no answer; a truth
    // item's other answer earns 1; a scale item's other answers earn 1, 2, 3 in code order
    // (true/false items have only one other answer: 2 points for the first item of each
    // scale list, 3 for the others).
    int Points(int item, int code) const {
        const int base = checkout::BaselineResponses()[item - 1].digitValue();
        for (int s = 1; s <= 4 && code != 0 && code != base; ++s) {
            if (std::find(items[s].begin(), items[s].end(), item) == items[s].end())
                continue;
            if (s == 1)
                return 1;
            if (item <= 63)
                return item == items[s].front() ? 2 : 3;
            return code < base ? code : code - 1; // its rank among the other answers
        }
        return 0;
    }

    // Writes QVB.TXT and QVRPT.TXT into `folder`.
    void Write(const QString& folder) const {
        QStringList b;
        for (int i = 0; i < 24; ++i)
            b << QString::number(20 + i);
        const int sectionEnd[4] = {0, 63, 97, 116};
        for (int section = 1; section <= 3; ++section)
            for (int code = 0; code <= (section == 1 ? 2 : 4); ++code) {
                QString key;
                for (int item = sectionEnd[section - 1] + 1; item <= sectionEnd[section]; ++item)
                    key += QChar(u'0' + Points(item, code));
                b << QLatin1Char('"') + key + QLatin1Char('"');
            }
        for (int g = 1; g <= 2; ++g)
            for (int r = 1; r <= 3; ++r)
                for (int s = 1; s <= 4; ++s) {
                    b << "64";
                    for (int raw = 1; raw <= 64; ++raw)
                        b << QString::number(std::min(99, 10 * g + r + raw));
                }
        for (int g = 1; g <= 2; ++g)
            for (int r = 1; r <= 3; ++r)
                b << "2" << QString::number(30 + r) << QString::number(60 + g);
        for (int g = 1; g <= 2; ++g)
            b << QStringList{"3", "0", "50", "500"};
        for (int s = 1; s <= 4; ++s) {
            b << QString::number(items[s].size());
            for (int item : items[s])
                b << QString::number(item);
        }
        const size_t ruleEntries[5] = {0, 0, 13, 17, 15};
        for (int s = 2; s <= 4; ++s)
            for (size_t i = 0; i < ruleEntries[s]; ++i)
                b << QString::number(i < items[s].size() ? items[s][i] : 0);
        for (int s = 2; s <= 5; ++s)
            for (int band = 1; band <= 9; ++band)
                b << QString::number(band);
        WriteFile(folder + "/QVB.TXT", b.join("\r\n").toLatin1() + "\r\n");

        QStringList t;
        for (const QString& name : scaleNames)
            t << QLatin1Char('"') + name + QLatin1Char('"');
        t << QStringList{"LOW", "MEDIUM", "PROBLEM", "SEVERE"};
        for (int i = 1; i <= 24; ++i)
            t << QStringLiteral("Significant item text %1").arg(i);
        for (int i = 1; i <= 76; ++i)
            t << QStringLiteral("Choice %1").arg(i);
        WriteFile(folder + "/QVRPT.TXT", t.join("\r\n").toLatin1() + "\r\n");
    }
};

} // namespace varenta::testing
