// A project read completely comes back byte for byte from the writer (unless a
// text was longer than readers keep), and through the tool's JSON form.
#include <cstdlib>

#include "engine/ProjectFormat.h"
#include "engine/ProjectReader.h"
#include "engine/ProjectWriter.h"
#include "tools/project/ProjectJson.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    engine::ProjectReadResult read = engine::readProjectDocument({data, size});
    if (read.status != engine::ProjectReadStatus::Complete) return 0;

    std::vector<uint8_t> written = engine::writeProjectDocument(read.document);
    bool shortened = false;
    engine::forEachText(read.document, [&](std::string& text) {
        shortened = shortened || text.size() == engine::project::kMaxTextBytes;
    });
    if (!shortened && written != std::vector<uint8_t>(data, data + size)) std::abort();

    std::string json = tools::documentToJson(read.document).dump(-1, ' ', false, nlohmann::detail::error_handler_t::strict);
    if (engine::writeProjectDocument(tools::documentFromJson(tools::Json::parse(json))) != written) std::abort();
    return 0;
}
