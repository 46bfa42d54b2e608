#include "ui/report/TQXFooterLinesForm.h"

#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "store/LogTable.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/log/TMDIChild.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace qx7 {

namespace {

constexpr int kLines = static_cast<int>(kMaxFooterLines);

// The numbers 1 to 9 beside the editor's lines, so the user sees where the room ends.
class LineNumbers : public QLabel
{
public:
    explicit LineNumbers(QPlainTextEdit* editor) : QLabel(editor->parentWidget())
    {
        QStringList n;
        for (int i = 1; i <= kLines; ++i)
            n << QString::number(i);
        setText(n.join(QLatin1Char('\n')));
        setFont(editor->font());
        setAlignment(Qt::AlignRight | Qt::AlignTop);
        setContentsMargins(
            0, editor->frameWidth() + static_cast<int>(editor->document()->documentMargin()), 4, 0);
        setForegroundRole(QPalette::PlaceholderText);
    }
};

} // namespace

TQXFooterLinesForm::TQXFooterLinesForm(TQXDM& dm, TMDIChild& log, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_log(log)
{
    setObjectName("QXFooterLinesForm");
    setWindowTitle(tr("Footer lines") + tr(" for log: [") + log.windowTitle() +
                   QStringLiteral("]"));
    m_editor = new QPlainTextEdit(this);
    m_editor->setObjectName("FooterEditor");
    m_editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_editor->setFixedHeight(
        m_editor->fontMetrics().lineSpacing() * kLines +
        2 * (m_editor->frameWidth() + static_cast<int>(m_editor->document()->documentMargin())) +
        2);
    m_editor->installEventFilter(this);
    m_editor->viewport()->installEventFilter(this);
    auto* numbers = new LineNumbers(m_editor);

    m_column = new QLabel(this);
    m_column->setObjectName("CursorPosition");
    m_line = new QLabel(this);
    m_line->setObjectName("LineNumber");
    m_length = new QLabel(this);
    m_length->setObjectName("LineLength");
    auto* position = new QHBoxLayout;
    for (auto [caption, label] :
         {std::pair{"Cursor position:", m_column}, std::pair{"Line number:", m_line},
          std::pair{"Line length:", m_length}}) {
        position->addWidget(new QLabel(tr(caption), this));
        label->setMinimumWidth(32);
        position->addWidget(label);
    }
    position->addStretch(1);

    auto button = [this](const char* caption, const char* name) {
        auto* b = new QPushButton(tr(caption), this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    QPushButton* ok = button("&OK", "OkButton");
    QPushButton* cancel = button("&Cancel", "CancelButton");
    QPushButton* help = button("&Help", "HelpButton");
    QPushButton* clear = button("Clear &all lines", "ClearButton");
    QPushButton* save = button("&Save as default", "SaveDefaultButton");
    QPushButton* get = button("&Get default", "GetDefaultButton");
    ok->setAutoDefault(false); // Enter belongs to the editor
    for (QPushButton* b : {cancel, help, clear, save, get})
        b->setAutoDefault(false);
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {ok, cancel, help})
        side->addWidget(b);
    side->addSpacing(12);
    for (QPushButton* b : {clear, save, get})
        side->addWidget(b);
    side->addStretch(1);

    auto* editRow = new QHBoxLayout;
    editRow->setSpacing(2);
    editRow->addWidget(numbers);
    editRow->addWidget(m_editor, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(editRow);
    left->addLayout(position);
    left->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(side);
    resize(620, m_editor->height() + 80);

    connect(ok, &QPushButton::clicked, this, &TQXFooterLinesForm::accept);
    connect(cancel, &QPushButton::clicked, this, &TQXFooterLinesForm::reject);
    connect(clear, &QPushButton::clicked, this, &TQXFooterLinesForm::clearAll);
    connect(save, &QPushButton::clicked, this, &TQXFooterLinesForm::saveAsDefault);
    connect(get, &QPushButton::clicked, this, &TQXFooterLinesForm::getDefault);
    connect(help, &QPushButton::clicked, this,
            [this] { HelpWindow::showTopic(QString::fromLatin1(help::kFooterLines), this); });
    connect(m_editor, &QPlainTextEdit::cursorPositionChanged, this,
            &TQXFooterLinesForm::showPosition);

    QStringList text;
    for (const std::string& l : log.LogFooterLines())
        text << QString::fromStdString(l);
    m_editor->setPlainText(text.join(QLatin1Char('\n')));
    m_editor->moveCursor(QTextCursor::Start);
    m_editor->setFocus();
    showPosition();
}

std::vector<std::string> TQXFooterLinesForm::lines() const
{
    std::vector<std::string> out;
    const QString text = m_editor->toPlainText();
    if (text.isEmpty())
        return out;
    for (const QString& l : text.split(QLatin1Char('\n')))
        if (static_cast<int>(out.size()) < kLines) // pasted text may bring more
            out.push_back(l.toStdString());
    return out;
}

void TQXFooterLinesForm::clearAll()
{
    m_editor->clear();
    m_editor->setFocus();
}

void TQXFooterLinesForm::saveAsDefault()
{
    const std::vector<std::string> l = lines();
    IniFile ini(m_dm.iniPath());
    for (int i = 0; i < kLines; ++i)
        ini.writeString("FooterLines", std::to_string(i),
                        i < static_cast<int>(l.size()) ? l[static_cast<size_t>(i)] : "");
    if (!ini.save())
        m_dm.prompter().ask(PromptIcon::Error, m_dm.iniPath() + " could not be written.",
                            PromptButton::Ok);
}

void TQXFooterLinesForm::getDefault()
{
    const IniFile ini(m_dm.iniPath());
    QStringList text;
    for (int i = 0; i < kLines; ++i)
        text << QString::fromStdString(ini.readString("FooterLines", std::to_string(i), ""));
    m_editor->setPlainText(text.join(QLatin1Char('\n')));
    m_editor->moveCursor(QTextCursor::Start);
}

void TQXFooterLinesForm::accept()
{
    std::vector<std::string> l = lines();
    try {
        writeLogDescriptor(logPaths(m_dm.QXLogPath, m_log.logName().toStdString()).descriptor,
                           {m_log.OwnCall(), l});
    } catch (const dbase::Error& e) {
        // The lines stay in the editor; nothing is half stored.
        m_dm.prompter().ask(PromptIcon::Error,
                            std::string("The footer lines could not be stored: ") + e.what(),
                            PromptButton::Ok);
        return;
    }
    m_log.setLogFooterLines(std::move(l));
    QDialog::accept();
}

void TQXFooterLinesForm::showPosition()
{
    const QTextCursor c = m_editor->textCursor();
    m_column->setText(QString::number(c.positionInBlock() + 1));
    m_line->setText(QString::number(c.blockNumber() + 1));
    m_length->setText(QString::number(c.block().length() - 1));
}

bool TQXFooterLinesForm::swallowKey(QKeyEvent* key)
{
    const QTextCursor c = m_editor->textCursor();
    const bool lastLine = c.blockNumber() >= kLines - 1;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_editor->blockCount() < kLines)
            return false;
        m_dm.prompter().ask(PromptIcon::Warning, "Not more than 9 footer lines!", PromptButton::Ok);
        if (m_editor->blockCount() > kLines) {
            QTextCursor cut(m_editor->document()->findBlockByNumber(kLines - 1));
            cut.movePosition(QTextCursor::EndOfBlock);
            cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            cut.removeSelectedText();
        }
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_End:
        return key->modifiers().testFlag(Qt::ControlModifier);
    case Qt::Key_Down:
        return lastLine;
    case Qt::Key_Right:
        return lastLine && c.atBlockEnd();
    default:
        return false;
    }
}

bool TQXFooterLinesForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress &&
        swallowKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease)
        showPosition();
    return QDialog::eventFilter(watched, event);
}

void TQXFooterLinesForm::exec(TQXDM& dm, TMDIChild& log, QWidget* parent)
{
    TQXFooterLinesForm form(dm, log, parent);
    form.QDialog::exec();
}

} // namespace qx7
