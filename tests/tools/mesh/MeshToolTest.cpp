#include "tools/mesh/MeshTool.h"

#include "tests/support/TempDir.h"
#include "tests/tools/ToolRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace vorn::test {
namespace {

using Json = nlohmann::json;

ToolRun run(const std::vector<std::string>& args) { return runTool(tools::runMeshTool, args); }

// Two groups over one library, the second group named twice, a stray line.
constexpr const char* kModel =
    "mtllib parts.mtl\nv 0 0 0\nv 2 0 0\nv 2 4 0\nv 0 4 -6\nvt 0 1\n"
    "g Body\nusemtl Gold\nf 1/1 2/1 3/1 4/1\nv 1 1\ng Wheel\nf 1 2 3\ng Wheel\nf 3 2 4\n";

TEST(MeshTool, ShowsTheObjectsMeshesMaterialsAndBoundsTheNodeGets) {
    TempDir dir;
    dir.write("parts.mtl", "newmtl Gold\nKd 1 0.5 0\nmap_Kd gold \xE9.png\nillum 3\n");
    ToolRun shown = run({dir.write("car.obj", kModel), "--geometry"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    Json json = Json::parse(shown.out);

    EXPECT_EQ(json["objects"].size(), 2u);
    EXPECT_EQ(json["objects"][0]["triangles"], 2);
    const Json& wheel = json["objects"][1];
    EXPECT_EQ(wheel["name"], "Wheel");
    EXPECT_EQ(wheel["triangles"], 1);
    EXPECT_EQ(wheel["positions"], Json::parse("[2, -4, 0, 2, 0, 0, 0, -4, -6]"));  // the later Wheel, y down
    EXPECT_EQ(wheel["uvs"], Json::parse("[0, 1, 0, 1, 0, 1]"));
    EXPECT_EQ(wheel["indices"], Json::parse("[0, 1, 2]"));
    EXPECT_EQ(json["meshes"], Json::parse(R"([
        {"name": "Body", "vertices": 4, "triangles": 2, "material": "Gold"},
        {"name": "Wheel", "vertices": 3, "triangles": 1, "material": null},
        {"name": "Wheel", "vertices": 3, "triangles": 1, "material": null}])"));
    ASSERT_EQ(json["materials"].size(), 1u);
    const Json& gold = json["materials"][0];
    EXPECT_EQ(gold["Kd"], Json::parse("[1, 0.5, 0]"));
    EXPECT_EQ(gold["illum"], 3);
    EXPECT_EQ(gold["map_Kd"], "gold \xC3\xA9.png");  // Latin-1 shown as UTF-8
    EXPECT_EQ(gold["map_bump"], "");
    EXPECT_EQ(json["bounds"], Json::parse(R"({"min": [0, -4, -6], "max": [2, 0, 0]})"));

    EXPECT_NE(shown.err.find("- find materials in: "), std::string::npos);
    EXPECT_NE(shown.err.find("car.obj: 1 malformed line skipped, the first at line 10\n"), std::string::npos);
    // A Windows path finds the library beside the model too.
    EXPECT_EQ(Json::parse(run({dir.path() + "\\car.obj"}).out)["materials"].size(), 1u);
}

TEST(MeshTool, ModelsThatLoadNothingGetOneLineAndStatusOne) {
    TempDir dir;
    for (const std::string& path :
         {dir.write("car.stl", kModel), dir.file("missing.obj"), dir.write("empty.obj", "# nothing\n")}) {
        ToolRun shown = run({path});
        EXPECT_EQ(shown.status, 1) << path;
        EXPECT_EQ(shown.out, "");
        EXPECT_TRUE(shown.oneLine()) << shown.err;
        EXPECT_NE(shown.err.find(path), std::string::npos) << shown.err;
    }
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"a.obj", "b.obj"}).status, 2);
}

}  // namespace
}  // namespace vorn::test
