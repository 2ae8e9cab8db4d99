#include "DataUrl.h"

#include "uikit/PNGCodec.h"

#include <openssl/evp.h>

namespace sim {

std::optional<std::string> pngDataUrl(CGImageRef image)
{
    // Shown at once and thrown away: fast compression keeps a drag on a drawn page smooth.
    std::optional<std::vector<std::uint8_t>> png = encodePNG(image, PNGCompression::Fast);
    if (!png)
        return std::nullopt;
    const std::string prefix = "data:image/png;base64,";
    // Four characters for every three bytes, and the terminating zero EVP writes.
    std::string url(prefix.size() + (png->size() + 2) / 3 * 4 + 1, '\0');
    int written = EVP_EncodeBlock(reinterpret_cast<unsigned char *>(url.data() + prefix.size()),
                                  png->data(), static_cast<int>(png->size()));
    url.replace(0, prefix.size(), prefix);
    url.resize(prefix.size() + static_cast<std::size_t>(written));
    return url;
}

} // namespace sim
