#include "ui/manager/CallValidator.h"

#include <QLineEdit>

namespace qx7 {

QValidator::State CallValidator::validate(QString& input, int&) const
{
    input = input.toUpper();
    for (const QChar c : input)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'/'))
            return Invalid;
    return Acceptable;
}

QWidget* CallCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex&) const
{
    auto* edit = new QLineEdit(parent);
    edit->setValidator(new CallValidator(edit));
    return edit;
}

} // namespace qx7
