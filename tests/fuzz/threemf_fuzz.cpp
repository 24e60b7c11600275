// libFuzzer entry for the 3MF reader: the bytes as a whole package, and as
// the model part of a sound one, so that they reach the XML past the zip's
// checks. Each must be refused with a reason or give whole triangles.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "formats/import/threemf_reader.h"
#include "formats/zip_package.h"

namespace {

void readAndCheck(std::span<const std::uint8_t> package) {
    cubrik::TriangleSoup soup;
    std::string reason;
    if (!cubrik::readThreeMf(package, soup, reason)) {
        if (reason.empty()) std::abort();
        return;
    }
    if (soup.positions.size() % 9 != 0 || (!soup.colours.empty() && 3 * soup.colours.size() != soup.positions.size()))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readAndCheck({data, size});
    cubrik::ZipPackage wrapper;
    wrapper.beginEntry("3D/3dmodel.model");
    wrapper.write(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string package = wrapper.finish();
    readAndCheck({reinterpret_cast<const std::uint8_t*>(package.data()), package.size()});
    return 0;
}
