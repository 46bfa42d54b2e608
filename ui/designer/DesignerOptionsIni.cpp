#include "ui/designer/DesignerOptionsIni.h"

#include "core/IniFile.h"

#include <QString>

#include <array>
#include <string>
#include <utility>

namespace qx7 {

namespace {

constexpr const char* kSection = "Designer";

// A grid of millimetres: 0 to 20, else the default.
double readMm(const IniFile& ini, const char* key, double def)
{
    bool ok = false;
    const double mm =
        QString::fromStdString(ini.readString(kSection, key, "")).trimmed().toDouble(&ok);
    return ok && mm >= 0 && mm <= 20 ? mm : def;
}

} // namespace

DesignerOptions readDesignerOptions(const IniFile& ini)
{
    DesignerOptions o;
    o.showFrames = ini.readBool(kSection, "ShowFrames", o.showFrames);
    const QColor color(QString::fromStdString(ini.readString(kSection, "FrameColor", "")));
    if (color.isValid())
        o.frameColor = color;
    const std::string line = ini.readString(kSection, "FrameLine", "");
    for (const auto& [name, style] : kFrameLines)
        if (line == name)
            o.frameLine = style;
    o.snap = ini.readBool(kSection, "Snap", o.snap);
    o.gridXMm = readMm(ini, "GridX", o.gridXMm);
    o.gridYMm = readMm(ini, "GridY", o.gridYMm);
    o.keyGridXMm = readMm(ini, "KeyGridX", o.keyGridXMm);
    o.keyGridYMm = readMm(ini, "KeyGridY", o.keyGridYMm);
    switch (ini.readInteger(kSection, "Units", 0)) {
    case 1:
        o.unit = DesignUnit::Inches;
        break;
    case 3:
        o.unit = DesignUnit::Characters;
        break;
    default:
        o.unit = DesignUnit::Mm;
        break;
    }
    o.showGrid = ini.readBool(kSection, "ShowGrid", o.showGrid);
    return o;
}

void writeDesignerOptions(IniFile& ini, const DesignerOptions& o)
{
    ini.writeBool(kSection, "ShowFrames", o.showFrames);
    ini.writeString(kSection, "FrameColor", o.frameColor.name().toStdString());
    for (const auto& [name, style] : kFrameLines)
        if (style == o.frameLine)
            ini.writeString(kSection, "FrameLine", name);
    ini.writeBool(kSection, "Snap", o.snap);
    const auto mm = [](double v) { return QString::number(v, 'f', 1).toStdString(); };
    ini.writeString(kSection, "GridX", mm(o.gridXMm));
    ini.writeString(kSection, "GridY", mm(o.gridYMm));
    ini.writeString(kSection, "KeyGridX", mm(o.keyGridXMm));
    ini.writeString(kSection, "KeyGridY", mm(o.keyGridYMm));
    ini.writeInteger(kSection, "Units", static_cast<int>(o.unit));
    ini.writeBool(kSection, "ShowGrid", o.showGrid);
}

} // namespace qx7
