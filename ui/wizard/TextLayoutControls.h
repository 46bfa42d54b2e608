#pragma once
// The controls that reading and writing text logs share in the Tools Wizard: the "Text
// type" choice between delimited and fixed-width fields, and the "Text qualifier:" box
// (none, double or single quote), with the qualifier as the character it stands for.

class QBoxLayout;
class QComboBox;
class QGroupBox;
class QRadioButton;
class QVBoxLayout;

namespace qx7 {

struct TextTypeChoice
{
    QGroupBox* box;
    QVBoxLayout* layout; // the box's own: more text options may follow the two choices
    QRadioButton* delimited;
    QRadioButton* fixed;
};

TextTypeChoice makeTextTypeChoice();

// Adds the caption and the box as a row to `layout`; returns the box.
QComboBox* addQualifierRow(QBoxLayout* layout);
// The chosen qualifier: '"', '\'' or 0 for none.
char qualifierOf(const QComboBox* box);
// Shows `qualifier` ('"', '\'', anything else none).
void showQualifier(QComboBox* box, int qualifier);

} // namespace qx7
