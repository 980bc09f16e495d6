#include "net/face_picture.h"

#include <system_error>

#include "app/settings.h"
#include "base/text.h"
#include "platform/files.h"

namespace vs::net {

namespace fs = std::filesystem;

FacePicture facePicture(std::u16string_view account, const std::u16string& profile,
                        const FacePictureTools& tools, const fs::path& users) {
    FacePicture result;
    result.command.profile = profile;
    if (!app::validFileNamePart(account)) return result;
    const std::string name = base::utf16ToUtf8(account);
    for (const char* extension : {"bmp", "pcx", "jpg", "jpeg", "pnm"}) {
        const fs::path picture = users / (name + "." + extension);
        std::error_code ec;
        if (!fs::is_regular_file(picture, ec)) continue;
        result.converterFailed = !tools.convert || !tools.convert(picture, kConverterWaitMs);
        break;
    }
    std::string bytes;
    if (platform::readFile(users / (name + ".jpf"), kMaxFacePictureBytes, bytes) !=
        platform::ReadResult::Ok)
        return result;
    const std::span<const uint8_t> view(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
    if (tools.isPicture && tools.isPicture(view, kFacePictureWidth, kFacePictureHeight))
        result.command.picture.assign(view.begin(), view.end());
    return result;
}

}  // namespace vs::net
