#pragma once
// How the layout wizard's number fields take and show their values: measures accept
// digits and one decimal separator ("." and "," become the user's) and are shown as
// "##0.00"; label counts take the digits 1 to 9 only, so 0 and 10 or more are reached
// through the arrows alone.

#include <QString>

class QLineEdit;
class QObject;
class QSpinBox;
class QValidator;

namespace qx7 {

QValidator* measureValidator(QObject* parent);
// Turns a typed "." or "," into the user's decimal separator.
void useLocaleSeparator(QLineEdit* edit);
// "##0.00" with the user's decimal separator.
QString measureText(double value);
// An empty entry, "." or "-" reads as 0.
double measureValue(const QString& text);
// Keys other than 1..9 (and the keys that move about) are refused, at most two digits.
void refuseAllButNonZeroDigits(QSpinBox* spin);

} // namespace qx7
