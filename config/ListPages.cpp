#include "config/ListPages.h"

#include "core/BandModeTables.h"
#include "core/IniFile.h"
#include "datamodule/EngineFacts.h"
#include "datamodule/TQXDM.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include <iterator>

namespace qx7 {

namespace {

const char* const kBandTexts[MaxBand] = {
    "2190m     (136 kHz)",    "160m       (1.8 MHz)",   "80m         (3.5 MHz)",
    "60m            (5 MHz)", "40m            (7 MHz)", "30m       (10.1 MHz)",
    "20m          (14 MHz)",  "17m          (18 MHz)",  "15m          (21 MHz)",
    "12m       (24.9 MHz)",   "10m          (28 MHz)",  "6m            (50 MHz)",
    "4m            (70 MHz)", "2m          (144 MHz)",  "1.25m     (220 MHz)",
    "70cm      (432 MHz)",    "35cm      (902 MHz)",    "23cm    (1300 MHz)",
    "13cm    (2300 MHz)",     "9cm      (3300 MHz)",    "6cm      (5660 MHz)",
    "3cm          (10 GHz)",  "1.25cm     (24 GHz)",    "6mm         (47 GHz)",
    "4mm         (75 GHz)",   "2.5mm    (120 GHz)",     "2mm       (142 GHz)",
    "1mm       (241 GHz)",    "SAT         (Satellite)"};

// The colour square drawn before an entry: the kind of band or mode at a glance.
QIcon square(const QColor& colour)
{
    QPixmap p(12, 12);
    p.fill(colour);
    QPainter(&p).drawRect(0, 0, 11, 11);
    return QIcon(p);
}

QColor bandColour(int band)
{
    if (band == 1)
        return Qt::green; // VLF
    return band <= 11 ? QColor(Qt::blue) : QColor(Qt::darkCyan);
}

QColor modeColour(std::string_view mode)
{
    if (mode == "CW")
        return Qt::green;
    if (mode == "SSB" || mode == "AM" || mode == "FM")
        return Qt::blue;
    if (mode == "SSTV" || mode == "ATV")
        return Qt::red;
    return Qt::darkCyan;
}

} // namespace

ImportExportPage::ImportExportPage(QWidget* parent) : ConfigPage(QStringLiteral("config13"), parent)
{
    setObjectName(QStringLiteral("importExportPage"));
    m_dupes = addCheck(tr("Import &duplicate contacts"), "importDupesCheck");
}

void ImportExportPage::load(const TQXDM& dm, const IniFile&)
{
    m_dupes->setChecked(dm.ImportDupes);
}

void ImportExportPage::apply(TQXDM& dm) const
{
    dm.ImportDupes = m_dupes->isChecked();
}

void ImportExportPage::write(const TQXDM& dm, IniFile& ini) const
{
    ini.writeBool("Convert", "ImportDupes", dm.ImportDupes);
}

VisibilityPage::VisibilityPage(Kind kind, QWidget* parent)
    : ConfigPage(QLatin1String(kind == Kind::Bands ? "config08" : "config09"), parent),
      m_kind(kind), m_list(new QListWidget(this))
{
    const bool bands = kind == Kind::Bands;
    setObjectName(QLatin1String(bands ? "bandsPage" : "modesPage"));
    m_list->setObjectName(QLatin1String(bands ? "bandList" : "modeList"));
    auto* caption = new QLabel(bands ? tr("Visible &Bands in the band dropdown box:")
                                     : tr("Visible Modes in the mode dropdown box"),
                               this);
    caption->setBuddy(m_list);
    box()->addWidget(caption);
    const int n = bands ? MaxBand : MaxMode;
    for (int i = 1; i <= n; ++i) {
        auto* item = new QListWidgetItem(m_list);
        item->setText(bands ? QString::fromLatin1(kBandTexts[i - 1])
                            : QString::fromLatin1(modeName(i).data(),
                                                  static_cast<qsizetype>(modeName(i).size())));
        item->setIcon(square(bands ? bandColour(i) : modeColour(modeName(i))));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (!bands)
        m_list->setFlow(QListView::TopToBottom), m_list->setWrapping(true);
    box()->addWidget(m_list, 1);
    auto* defaults = new QPushButton(tr("&Default"), this);
    defaults->setObjectName(QStringLiteral("defaultButton"));
    defaults->setMaximumWidth(100);
    box()->addWidget(defaults);
    connect(defaults, &QPushButton::clicked, this, [this] {
        checkDefaults();
        emit changed();
    });
    watch(m_list);
}

void VisibilityPage::checkDefaults()
{
    static const char* const bands[] = {"160m", "80m", "40m", "30m", "20m",
                                        "17m",  "15m", "12m", "10m"};
    static const char* const modes[] = {"SSB", "CW", "RTTY", "PSK", "JT65"};
    for (int i = 0; i < m_list->count(); ++i) {
        const std::string_view name = m_kind == Kind::Bands ? bandName(i + 1) : modeName(i + 1);
        bool on = false;
        if (m_kind == Kind::Bands)
            on = std::find(std::begin(bands), std::end(bands), name) != std::end(bands);
        else
            on = std::find(std::begin(modes), std::end(modes), name) != std::end(modes);
        m_list->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

void VisibilityPage::load(const TQXDM&, const IniFile& ini)
{
    // The ticks are read from the ini itself; a missing key counts as not ticked.
    const char* section = m_kind == Kind::Bands ? "BandComboBox2" : "ModeComboBox";
    const QSignalBlocker quiet(m_list);
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState(
            ini.readBool(section, std::to_string(i + 1), false) ? Qt::Checked : Qt::Unchecked);
}

void VisibilityPage::apply(TQXDM& dm) const
{
    std::vector<std::string>& visible = m_kind == Kind::Bands ? dm.VisibleBands : dm.VisibleModes;
    visible.clear();
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            visible.emplace_back(m_kind == Kind::Bands ? bandName(i + 1) : modeName(i + 1));
}

void VisibilityPage::write(const TQXDM&, IniFile& ini) const
{
    const char* section = m_kind == Kind::Bands ? "BandComboBox2" : "ModeComboBox";
    for (int i = 0; i < m_list->count(); ++i)
        ini.writeBool(section, std::to_string(i + 1), m_list->item(i)->checkState() == Qt::Checked);
}

EngineFactsPage::EngineFactsPage(QWidget* parent)
    : ConfigPage(QStringLiteral("config12"), parent), m_form(new QWidget(this))
{
    setObjectName(QStringLiteral("engineFactsPage"));
    box()->addWidget(new QLabel(tr("BDE settings (valid only for this QX session)"), this));
    new QFormLayout(m_form);
    box()->addWidget(m_form);
}

void EngineFactsPage::load(const TQXDM& dm, const IniFile&)
{
    auto* form = static_cast<QFormLayout*>(m_form->layout());
    while (form->rowCount() > 0)
        form->removeRow(0);
    static const char* const names[] = {"engineVersionLabel", "defaultDriverLabel",
                                        "dbaseLevelLabel",    "langDriverLabel",
                                        "langDescLabel",      "codePageLabel"};
    const std::vector<EngineFact> facts = engineFacts(dm);
    for (size_t i = 0; i < facts.size() && i < std::size(names); ++i) {
        auto* label = new QLabel(QString::fromStdString(facts[i].value), m_form);
        label->setObjectName(QLatin1String(names[i]));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QString::fromStdString(facts[i].caption), label);
    }
}

} // namespace qx7
