#pragma once
// Call-sign entry: letters become capitals; only "A"-"Z", digits and "/" are taken.

#include <QStyledItemDelegate>
#include <QValidator>

namespace qx7 {

class CallValidator final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Grid cells edited with the same rule.
class CallCellDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};

} // namespace qx7
