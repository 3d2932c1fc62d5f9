#include "tools/project/ProjectTool.h"

#include "engine/ProjectReader.h"
#include "engine/ProjectWriter.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"
#include "tools/project/ProjectJson.h"

namespace vorn::tools {

namespace {

constexpr const char* kUsage =
    "usage: vorn-project dump FILE.vorn | vorn-project build FILE.json -o FILE.vorn\n";

int dump(const std::string& path, std::ostream& out, std::ostream& err) {
    auto bytes = platform::readFile(path, platform::kMaxProjectFileBytes);
    if (!bytes) {
        err << "vorn-project: cannot read " << path << "\n";
        return 1;
    }
    engine::ProjectReadResult read = engine::readProjectDocument(*bytes);
    if (read.status != engine::ProjectReadStatus::Complete) {
        err << "vorn-project: " << path << ": " << read.problem << "\n";
        return 1;
    }
    out << documentToJson(read.document).dump(2, ' ', false, nlohmann::detail::error_handler_t::strict) << "\n";
    return 0;
}

int build(const std::string& jsonPath, const std::string& outputPath, std::ostream& err) {
    auto text = platform::readFile(jsonPath, platform::kMaxProjectFileBytes);
    if (!text) {
        err << "vorn-project: cannot read " << jsonPath << "\n";
        return 1;
    }
    std::vector<uint8_t> bytes;
    try {
        bytes = engine::writeProjectDocument(documentFromJson(Json::parse(text->begin(), text->end())));
    } catch (const Json::exception& e) {
        err << "vorn-project: " << jsonPath << ": " << e.what() << "\n";
        return 1;
    } catch (const ProjectJsonError& e) {
        err << "vorn-project: " << jsonPath << ": " << e.what() << "\n";
        return 1;
    }
    if (!platform::writeFile(outputPath, bytes)) {
        err << "vorn-project: cannot write " << outputPath << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int runProjectTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "dump") return dump(args[1], out, err);
    if (args.size() == 4 && args[0] == "build" && args[2] == "-o") return build(args[1], args[3], err);
    err << kUsage;
    return 2;
}

}  // namespace vorn::tools
