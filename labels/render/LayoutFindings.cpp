#include "labels/render/LayoutFindings.h"

#include "labels/render/LabelRenderer.h"

namespace qx7 {

std::vector<LayoutFinding> findLayoutProblems(const LabelLayout& layout,
                                              const std::string& imageFolder)
{
    std::vector<LayoutFinding> findings = checkLayoutModel(layout);
    for (const LayoutElement& e : layout.Elements) {
        if (e.kind != ElementKind::Image || e.imageFile.empty())
            continue;
        std::string error;
        if (loadLayoutPicture(e.imageFile, imageFolder, &error).isNull())
            findings.push_back({e.name, "the picture cannot be read: " + error, false});
    }
    return findings;
}

} // namespace qx7
