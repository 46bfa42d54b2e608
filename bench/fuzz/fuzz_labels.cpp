// Fuzzes what label layouts bring in from files users pass around: the ".qxd" text and
// the expressions inside it. The first byte picks which; the rest is the input. Every
// input must end in a layout, a refusal or "Error in expression!", never a crash.

#include "labels/Expression.h"
#include "labels/LabelLayout.h"
#include "labels/QxdFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        qx7::LabelLayout layout;
        std::string error;
        qx7::layoutFromText(input, layout, &error);
    } else {
        qx7::LabelRecord record;
        record.set("HISCALL", "W\xC3\x98"
                              "ABC");
        record.set("NUMQSOS", "3");
        record.set("A_DATE", "2024-03-05");
        const qx7::Expression e(input);
        qx7::ExpressionContext ctx;
        ctx.record = &record;
        e.evaluateText(ctx);
        qx7::validateExpression(input, record);
    }
    return 0;
}
