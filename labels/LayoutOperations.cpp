#include "labels/LayoutOperations.h"

#include "core/Prompter.h"
#include "core/Text.h"
#include "labels/FieldNames.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qx7 {

namespace {

// The line items that completion and alignment handle (not SUBM and HRDC).
const std::array<const char*, 9> kAlignedSuffixes = {"DATE", "TIME", "BAND", "MODE", "RSTS",
                                                     "RSTR", "COMM", "FREQ", "PSEQ"};

bool isAlignedSuffix(const std::string& suffix)
{
    return std::find(kAlignedSuffixes.begin(), kAlignedSuffixes.end(), suffix) !=
           kAlignedSuffixes.end();
}

bool startsWith(const std::string& upper, const char* prefix)
{
    return upper.rfind(prefix, 0) == 0;
}

// Takes over what makes a line look like its reference line; position on the line
// (left) and the size come along, the top is set by the caller.
void copyLineLook(LayoutElement& to, const LayoutElement& from)
{
    to.alignment = from.alignment;
    to.alignToBand = from.alignToBand;
    to.autoSize = from.autoSize;
    to.autoStretch = from.autoStretch;
    to.background = from.background;
    to.font = from.font;
    to.height = from.height;
    to.left = from.left;
    to.mask = from.mask;
    to.width = from.width;
    to.parentFont = from.parentFont;
    to.transparent = from.transparent;
    to.wordWrap = from.wordWrap;
}

struct Reference
{
    double top = std::numeric_limits<double>::max();
    double height = 0;
    bool found = false;
};

Reference referenceOf(const LabelLayout& layout, const char* prefix)
{
    Reference r;
    for (const auto& e : layout.Elements) {
        if (e.kind != ElementKind::DataField || !startsWith(toUpperAscii(e.dataField), prefix))
            continue;
        r.found = true;
        r.top = std::min(r.top, e.top);
        r.height = std::max(r.height, e.height);
    }
    return r;
}

LayoutElement& addDataField(LabelLayout& layout, const std::string& field)
{
    LayoutElement& e = layout.addElement(ElementKind::DataField);
    e.dataField = field;
    e.caption = field;
    return e;
}

void addMissingQsoLines(LabelLayout& layout, MissingFieldsResult& result)
{
    for (const char* suffix : kAlignedSuffixes) {
        const LayoutElement* a = layout.findDataField(qsoFieldName(1, suffix));
        if (!a)
            continue;
        const double left = a->left, top = a->top + a->height;
        for (int line = 2; line <= layout.Page.QSOLines && line <= kMaxQsoLines; ++line) {
            const std::string name = qsoFieldName(line, suffix);
            if (layout.findDataField(name))
                continue;
            LayoutElement& e = addDataField(layout, name);
            e.left = left;
            e.top = top;
            ++result.added;
        }
    }
}

void addMissingFooters(LabelLayout& layout, MissingFieldsResult& result)
{
    for (int n = 1; n <= 3; ++n) {
        const LayoutElement* from = layout.findDataField(footerFieldName(n));
        if (!from)
            continue;
        const double left = from->left, top = from->top + from->height;
        for (int k = 2; k <= layout.Page.FooterLines && k <= kMaxFooterLines; ++k) {
            if (layout.findDataField(footerFieldName(k)))
                continue;
            LayoutElement& e = addDataField(layout, footerFieldName(k));
            e.left = left;
            e.top = top;
            ++result.added;
        }
    }
}

int eraseFields(LabelLayout& layout, bool (*beyond)(const LayoutElement&, const TQRPage&))
{
    const auto before = layout.Elements.size();
    std::erase_if(layout.Elements, [&](const LayoutElement& e) { return beyond(e, layout.Page); });
    return static_cast<int>(before - layout.Elements.size());
}

} // namespace

LayoutCounts derivedCounts(const LabelLayout& layout)
{
    LayoutCounts c;
    for (const auto& e : layout.Elements) {
        if (e.kind != ElementKind::DataField)
            continue;
        c.qsoLines = std::max(c.qsoLines, qsoLineOf(e.dataField));
        c.footerLines = std::max(c.footerLines, footerOf(e.dataField));
    }
    c.labelsPerSheet = layout.Page.labelsPerSheet();
    return c;
}

std::string MissingFieldsResult::message() const
{
    std::string text;
    if (added > 0)
        text = std::to_string(added) + " field(s) added.";
    if (deleted > 0)
        text += (text.empty() ? "" : "\r\n") + std::to_string(deleted) + " field(s) deleted.";
    return text;
}

MissingFieldsResult addMissingFields(LabelLayout& layout)
{
    MissingFieldsResult result;
    result.deleted += eraseFields(layout, [](const LayoutElement& e, const TQRPage& page) {
        return e.kind == ElementKind::DataField && e.dataField.size() >= 2 &&
               e.dataField[1] == '_' && qsoLineOf(e.dataField) > page.QSOLines;
    });
    addMissingQsoLines(layout, result);
    result.deleted += eraseFields(layout, [](const LayoutElement& e, const TQRPage& page) {
        return e.kind == ElementKind::DataField && footerOf(e.dataField) > page.FooterLines;
    });
    addMissingFooters(layout, result);
    if (result.changed())
        adjustLines(layout);
    return result;
}

MissingFieldsResult addMissingFields(LabelLayout& layout, Prompter& prompter)
{
    const MissingFieldsResult result = addMissingFields(layout);
    if (result.changed())
        prompter.ask(PromptIcon::Confirmation, result.message(), PromptButton::Ok);
    return result;
}

LayoutCounts adjustLines(LabelLayout& layout)
{
    const Reference qso = referenceOf(layout, "A_");
    const Reference footer = referenceOf(layout, "FOOTER1");
    const double qsoPitch = qso.height + layout.Page.QSOLineSpace / 10.0;
    const double footerPitch = footer.height + layout.Page.FooterLineSpace / 10.0;
    // Copies are taken first so that line A's own rewrite does not feed the others.
    std::vector<LayoutElement> snapshot = layout.Elements;
    const auto referenceField = [&](const std::string& field) -> const LayoutElement* {
        for (const auto& e : snapshot)
            if (e.kind == ElementKind::DataField && toUpperAscii(e.dataField) == field)
                return &e;
        return nullptr;
    };
    for (auto& e : layout.Elements) {
        if (e.kind != ElementKind::DataField)
            continue;
        const std::string field = toUpperAscii(e.dataField);
        const int line = qsoLineOf(field);
        const int footerNo = footerOf(field);
        if (line > 0 && isAlignedSuffix(lineSuffixOf(field))) {
            const LayoutElement* a = referenceField("A_" + lineSuffixOf(field));
            if (!a)
                continue;
            copyLineLook(e, *a);
            e.top = (line - 1) * qsoPitch + qso.top;
        } else if (footerNo > 0 && footer.found) {
            const LayoutElement* f1 = referenceField("FOOTER1");
            if (!f1)
                continue;
            copyLineLook(e, *f1);
            e.top = (footerNo - 1) * footerPitch + footer.top;
        }
    }
    return derivedCounts(layout);
}

int countElementsOutside(const LabelLayout& layout)
{
    // A hundredth of a millimetre absorbs the rounding of stored positions.
    constexpr double slack = 0.01;
    const double width = layout.labelWidthMm(), height = layout.labelHeightMm();
    return static_cast<int>(
        std::count_if(layout.Elements.begin(), layout.Elements.end(), [&](const LayoutElement& e) {
            return e.left + e.width > width + slack || e.top + e.height > height + slack ||
                   e.left < -slack || e.top < -slack;
        }));
}

std::string outsideElementsWarning(int count)
{
    return "QX Police Warning: \r\n\r\n" + std::to_string(count) + " element(s) " +
           "are not visible and outside of\r\nthe printable area!\r\n\r\n"
           "Increase the label size temporarily (Ctrl-Y),\r\n"
           "move the hidden elements into the visible\r\n"
           "area and then set the label size back to\r\n"
           "the original value.";
}

namespace {

std::string mm(double tenths)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", std::round(tenths) / 10.0);
    return buf;
}

} // namespace

std::string blankLayoutProblem(const LabelLayout& layout)
{
    const TQRPage& p = layout.Page;
    const std::string page = mm(p.Width) + " x " + mm(p.Length) + " mm";
    if (!(p.Width > 0 && p.Length > 0))
        return "The page of the layout has no size (" + page + "): nothing can be printed.";
    if (!(p.labelWidth() > 0 && p.labelHeight() > 0))
        return "The margins and label spaces of the layout leave no room for a label on its " +
               page + " page: nothing would be printed.";
    const double width = layout.labelWidthMm(), height = layout.labelHeightMm();
    // An autosized text may be stored with no width; its corner is what counts then.
    constexpr double least = 0.01;
    const bool anyOnLabel =
        std::any_of(layout.Elements.begin(), layout.Elements.end(), [&](const LayoutElement& e) {
            return e.left < width && e.top < height && e.left + std::max(e.width, least) > 0 &&
                   e.top + std::max(e.height, least) > 0;
        });
    if (!anyOnLabel)
        return "No element of the layout lies on its " + mm(width * 10) + " x " + mm(height * 10) +
               " mm label (" + std::to_string(layout.Elements.size()) +
               " element(s) in all): nothing would be printed.";
    return {};
}

int checkLayout(const LabelLayout& layout, Prompter& prompter, bool askedFor)
{
    const int outside = countElementsOutside(layout);
    if (outside > 0)
        prompter.ask(PromptIcon::Warning, outsideElementsWarning(outside), PromptButton::Ok);
    else if (askedFor)
        prompter.ask(PromptIcon::Information, kNoLayoutProblems, PromptButton::Ok);
    return outside;
}

} // namespace qx7
