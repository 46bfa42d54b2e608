#include "labels/LayoutCheck.h"

#include "core/Prompter.h"
#include "labels/Expression.h"
#include "labels/FieldNames.h"
#include "labels/LayoutOperations.h"

#include <cstdio>

namespace qx7 {

namespace {

std::string mm(double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f mm", value);
    return buf;
}

// Stored positions are rounded; a hundredth of a millimetre is not a fault.
constexpr double kSlack = 0.01;

void checkPage(const LabelLayout& layout, std::vector<LayoutFinding>& out)
{
    const std::string blank = blankLayoutProblem(layout);
    if (!blank.empty()) {
        const bool noElement = blank.rfind("No element", 0) == 0;
        out.push_back({noElement ? "Label" : "Page", blank, false});
        if (!noElement)
            return;
    }
    // The label size follows from the page, so labels larger than the page show as
    // margins or gaps below zero: the outer labels then hang over the paper's edge.
    const TQRPage& p = layout.Page;
    const struct
    {
        const char* name;
        double tenths;
    } lengths[] = {{"top margin", p.TopMargin},     {"bottom margin", p.BottomMargin},
                   {"left margin", p.LeftMargin},   {"right margin", p.RightMargin},
                   {"column space", p.ColumnSpace}, {"row space", p.RowSpace}};
    for (const auto& l : lengths)
        if (l.tenths < -kSlack * 10)
            out.push_back({"Page",
                           "the " + mm(layout.labelWidthMm()) + " x " + mm(layout.labelHeightMm()) +
                               " label is larger than its " + mm(p.Width / 10) + " x " +
                               mm(p.Length / 10) + " page (" + l.name + " " + mm(l.tenths / 10) +
                               ")",
                           false});
}

void checkElements(const LabelLayout& layout, std::vector<LayoutFinding>& out)
{
    const double width = layout.labelWidthMm(), height = layout.labelHeightMm();
    LabelRecord design; // as the expression dialog validates: every field holds its name
    for (const std::string& name : printQueueFieldNames())
        design.set(name, name);
    ExpressionContext ctx;
    ctx.record = &design;
    for (const LayoutElement& e : layout.Elements) {
        std::string beyond;
        if (e.left < -kSlack || e.top < -kSlack)
            beyond = "starts before the label's top left corner (at " + mm(e.left) + ", " +
                     mm(e.top) + ")";
        else if (e.left + e.width > width + kSlack)
            beyond = "reaches beyond the label's right edge (" + mm(e.left + e.width) + " of " +
                     mm(width) + ")";
        else if (e.top + e.height > height + kSlack)
            beyond = "reaches below the label's bottom edge (" + mm(e.top + e.height) + " of " +
                     mm(height) + ")";
        if (!beyond.empty())
            out.push_back({e.name, beyond, true});
        if (e.kind != ElementKind::Expression)
            continue;
        const Expression expression(e.expression);
        if (!expression.parsed())
            out.push_back({e.name,
                           "the expression \"" + e.expression +
                               "\" does not evaluate: " + expression.problem(),
                           false});
        else if (!expression.evaluate(ctx))
            out.push_back(
                {e.name, "the expression \"" + e.expression + "\" does not evaluate", false});
    }
}

} // namespace

std::vector<LayoutFinding> checkLayoutModel(const LabelLayout& layout)
{
    std::vector<LayoutFinding> findings;
    checkPage(layout, findings);
    checkElements(layout, findings);
    return findings;
}

std::string findingsText(const std::vector<LayoutFinding>& findings)
{
    std::string text;
    for (const LayoutFinding& f : findings)
        text += (text.empty() ? "" : "\r\n") + f.where + ": " + f.problem;
    return text;
}

std::string layoutCheckMessage(const std::vector<LayoutFinding>& findings)
{
    int outside = 0;
    for (const LayoutFinding& f : findings)
        outside += f.outside ? 1 : 0;
    std::string text = outside > 0 ? outsideElementsWarning(outside) + "\r\n\r\n" : "";
    return text + "The layout check found:\r\n" + findingsText(findings);
}

std::string printRefusedText(const std::vector<LayoutFinding>& findings)
{
    return "Nothing was printed: the layout check must pass first.\r\n" + findingsText(findings);
}

int reportLayoutCheck(const std::vector<LayoutFinding>& findings, Prompter& prompter, bool askedFor)
{
    if (!findings.empty())
        prompter.ask(PromptIcon::Warning, layoutCheckMessage(findings), PromptButton::Ok);
    else if (askedFor)
        prompter.ask(PromptIcon::Information, kNoLayoutProblems, PromptButton::Ok);
    return static_cast<int>(findings.size());
}

} // namespace qx7
