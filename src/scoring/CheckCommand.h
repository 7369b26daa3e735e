#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The hidden developer command "Check" of the intake windows: the current client scored at
// once, the percentiles and raw points shown in a message.
namespace varenta::scoring {

// The scale names of the command: the first five values of QVRPT.TXT.
QStringList ScaleNamesForCheck();
// The message for the last scoring run.
QString CheckReport(const QStringList& scaleNames);
// `storeFields` copies the window into the current slot, the record is written, scored, and
// the percentiles and raw points are shown. Errors are shown, never thrown.
void RunCheck(const std::function<void()>& storeFields);

} // namespace varenta::scoring
