#include "base/RunTimeError.h"

#include "base/NumberText.h"

namespace vesmarin {

std::int16_t ToInteger16OrRaise(const QString& text) {
    const auto r = ToInteger16(text);
    if (const auto* error = std::get_if<ConversionError>(&r))
        throw RunTimeError(static_cast<int>(*error), DescriptionOf(*error));
    return std::get<std::int16_t>(r);
}

} // namespace vesmarin
