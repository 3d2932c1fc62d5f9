// The readers of OBJ/MTL and key files, and their number scanning, without GL.
#include "nodes/scene/AnimationKeys.h"
#include "nodes/scene/CameraFrames.h"
#include "nodes/scene/ObjFile.h"
#include "nodes/scene/TextScan.h"
#include "tests/nodes/scene/SceneTest.h"
#include "tests/support/TempDir.h"

#include <bit>
#include <map>

namespace vorn::test {
namespace {

using namespace nodes;
namespace scan = nodes::text;

ObjFile read(std::string_view text, const std::map<std::string, std::string>& libraries = {}) {
    return readObjFile(text, "models/model.obj", [&](const std::string& path) -> std::optional<std::vector<uint8_t>> {
        auto found = libraries.find(path);
        if (found == libraries.end()) return std::nullopt;
        return std::vector<uint8_t>(found->second.begin(), found->second.end());
    }, nullptr);
}

std::vector<std::string> meshNames(const ObjFile& file) {
    std::vector<std::string> names;
    for (const ObjMesh& mesh : file.meshes) names.push_back(mesh.name);
    return names;
}

std::vector<uint32_t> indices(const ObjFile& file) { return {file.indices.begin(), file.indices.end()}; }

constexpr const char* kSquare = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\n";

TEST(ObjFile, ObjectAndMaterialLinesCutTheFileIntoNamedMeshes) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {  // after the square's five positions
        {"f 1 2 3\n", {""}},
        {"f 1 2 3\no A\nf 1 2 3 4\n", {"A"}},  // faces before the first object line are its own
        {"o A\nf 1 2 3\ng\nf 1 2 3\ngroup1 x\nf 1 2 3\n", {"A", "unnamed", "unnamed"}},
        {"o A\no B\nf 1 2 3\n", {"B"}},  // nothing pending: only renamed
        {"g N\nf 1 2 3\nusemtl a\nf 1 2 3 4\nusemtl b\nf 1 2 5 3 4\n", {"N_2", "N_2", "N"}},
    };
    for (const auto& [body, meshes] : cases) EXPECT_EQ(meshNames(read(kSquare + body)), meshes) << body;
}

TEST(ObjFile, EachTriangleListsExactlyItsThreeCornersInFaceOrder) {
    const std::pair<std::string, std::vector<uint32_t>> cases[] = {
        {"f 1 2 3 4\n", {0, 1, 3, 1, 2, 3}},
        // The first corner repeats the third's position: still two triangles,
        // and the next face's indices are not shifted.
        {"f 1 2 1 3\nf 1 2 3\n", {0, 1, 3, 1, 2, 3, 4, 5, 6}},
        // Concave (notch at the fourth corner) worked out by hand: corner 0 is
        // no ear (the notch lies at s = 0.5 of P C N), nor corner 1 (s = 0.25);
        // corner 2 is: (1 2 3). Four corners remain: (0 1 4) and (1 3 4).
        {"v 4 0 0\nv 4 4 0\nv 2 1 0\nv 0 4 0\nf 1 -4 -3 -2 -1\n", {1, 2, 3, 0, 1, 4, 1, 3, 4}},
        {"f 1 2\n", {}},  // vertices without normals cannot be read: skipped
    };
    for (const auto& [faces, expected] : cases) EXPECT_EQ(indices(read(kSquare + faces)), expected) << faces;

    std::string fan = kSquare + std::string("f");
    for (int i = 0; i < 300; ++i) fan += " " + std::to_string(i % 5 + 1);
    ObjFile big = read(fan + "\n");
    ASSERT_EQ(big.indices.size(), 298u * 3);
    EXPECT_EQ(std::vector<uint32_t>(big.indices.end() - 3, big.indices.end()), (std::vector<uint32_t>{0, 298, 299}));
    ASSERT_EQ(big.diagnostics.size(), 1u);
    EXPECT_NE(big.diagnostics[0].find("1 face of more than 256 corners"), std::string::npos) << big.diagnostics[0];
}

TEST(ObjFile, CornersTakeTheirElementsByFormAndIndexSign) {
    ObjFile file = read(
        "v 1 0 0\nv 0 2 0\nv 0 0 3\nv 9 9 9\nvt 0.25 0.5\nvt 0.75 1\nvn 0 0 1\nvn 0 1 0\n"
        "f 1/1/2/7 2/2/1/x 3//1\r\n"  // four parts first: its first three; later ones repeat the previous form
        "f -4/-1 -3/2/ -2/1\n");      // "2/" has two parts; no normals: the cross product of the corners
    // (1,0,0) - (0,2,0) = (1,-2,0) crossed with (0,0,3) - (0,2,0) = (0,-2,3) gives (-6, -3, -2).
    const VertexRow expected[] = {{1, 0, 0, 0, 1, 0, 0.25f, 0.5f}, {0, 2, 0, 0, 0, 1, 0.75f, 1},
                                  {0, 0, 3, 0, 0, 1, 0, 0},        {1, 0, 0, -6, -3, -2, 0.75f, 1},
                                  {0, 2, 0, -6, -3, -2, 0.75f, 1}, {0, 0, 3, -6, -3, -2, 0.25f, 0.5f}};
    ASSERT_EQ(file.vertices.size(), 6u);
    for (int v = 0; v < 6; ++v) EXPECT_EQ(std::bit_cast<VertexRow>(file.vertices[v]), expected[v]) << "corner " << v;
    EXPECT_TRUE(file.diagnostics.empty());
}

TEST(ObjFile, MalformedLinesAreSkippedWholeAndReportedOnce) {
    // An index that would wrap round 32 bits to 3 is beyond the list too.
    for (const char* line : {"v 1 2", "vt 0.5", "vn 1 x 0", "v 1  2 3", "f 1 2 9", "f 0 1 2", "f -6 1 2",
                             "f 1/1 2/x 3/1", "f 1 2 3/9/1", "f 1 2 4294967299"}) {
        ObjFile file = read(std::string("v 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvn 0 0 1\n") + line + "\nf 1 2 3\n");
        EXPECT_EQ(file.vertices.size(), 3u) << line;
        EXPECT_EQ(file.diagnostics,
                  std::vector<std::string>{"models/model.obj: 1 malformed line skipped, the first at line 6"}) << line;
    }
}

TEST(ObjFile, LibrariesBesideTheModelGiveTheirRecordsToMeshesInUsemtlOrder) {
    ObjFile file = read("mtllib a b.mtl\nmtllib skip.txt\nmtllib none.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\n"
                        "usemtl Paint\ng A\nf 1 2 3\nusemtl Other\ng B\nf 1 2 3\nusemtl none\ng C\nf 1 2 3\n",
                        {{"models/a b.mtl", "newmtl Paint\r\n\tKd 0.5 0.25 1\n\tKa 1 1\n\tNs 12.5\n\td 0.5\n\tillum 2\n"
                                            "\tmap_Kd C:\\maps\\paint one.png\n\tbump n.png\nnewmtl\nnewmtl Paint\n"
                                            "Kd 1 1 1\nillum 4294967298\nNs x\n"},
                         {"models/skip.txt", "newmtl Never\n"}});
    ASSERT_EQ(file.materials.size(), 3u);
    const MtlMaterial& paint = file.materials[0];
    EXPECT_EQ(paint.Kd, (std::array<float, 3>{0.5f, 0.25f, 1}));
    EXPECT_EQ(paint.Ka, (std::array<float, 3>{0, 0, 0}));  // two numbers: ignored
    EXPECT_EQ((std::array<float, 3>{paint.Ns, paint.d, float(paint.illum)}), (std::array<float, 3>{12.5f, 0.5f, 2}));
    EXPECT_EQ(paint.map_Kd + " " + paint.map_bump, "C:\\maps\\paint one.png n.png");
    EXPECT_EQ(file.materials[1].name, "none");  // "newmtl" alone
    EXPECT_EQ((std::array<int, 2>{int(file.materials[2].Ns), file.materials[2].illum}), (std::array<int, 2>{0, 0}));
    ASSERT_EQ(file.meshes.size(), 3u);
    EXPECT_EQ((std::array<int32_t, 3>{file.meshes[0].material, file.meshes[1].material, file.meshes[2].material}),
              (std::array<int32_t, 3>{0, -1, 1}));  // the first "Paint"; no "Other"
    EXPECT_EQ(file.diagnostics,
              std::vector<std::string>{"models/a b.mtl: 2 malformed lines skipped, the first at line 12"});
}

TEST(ObjFile, OnlyObjNamesAreLoadedAndAFileReadInChunksGivesWhatItsBytesGive) {
    TempDir dir;
    for (auto [name, loads] : {std::pair{"model.obj", true}, {"model.OBJ", true}, {"model.Obj", true},
                               {"model.oBJ", false}, {"model.stl", false}}) {
        std::optional<ObjFile> file = loadObjFile(dir.write(name, "v 0 0 0\nf 1 1 1\n"), nullptr, nullptr);
        EXPECT_EQ(file && file->vertices.size() == 3, loads) << name;
    }
    // Megabytes of CR LF lines, a face longer than a chunk, a bad line far in.
    std::string text = "o Big\r\n";
    for (int i = 0; i < 60000; ++i) text += "v " + std::to_string(i) + " 1 2\r\nf -1 -1 -1\r\n";
    text += "f";
    for (int i = 0; i < 700000; ++i) text += " 1";
    text += "\r\nv 1 2\r\no Last\r\nf 1 2 3";
    std::optional<ObjFile> loaded = loadObjFile(dir.write("big.obj", text), nullptr, nullptr);
    ASSERT_TRUE(loaded);
    ObjFile whole = readObjFile(text, dir.file("big.obj"), nullptr, nullptr);
    EXPECT_EQ(meshNames(*loaded), meshNames(whole));
    EXPECT_EQ(indices(*loaded), indices(whole));
    EXPECT_EQ(loaded->diagnostics, whole.diagnostics);
    ASSERT_EQ(loaded->diagnostics.size(), 2u);
    EXPECT_NE(loaded->diagnostics[0].find("the first at line 120003"), std::string::npos) << loaded->diagnostics[0];
}

TEST(TextScan, FloatsReadExactlyAsTheStandardLibraryReadsThem) {
    // 16777217 and 16777219 lie half-way between floats: ties go to the even one.
    const std::string texts[] = {"16777217", "16777219", "-0", "0.000000", "1.", "3.40282347e38", "1e-45",
                                 "123456789012345678", "0.1234567890123456789", "7.5abc", "2.5.1", "-.5"};
    for (const std::string& text : texts) {
        float expected = 0, value = -1;
        auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), expected);
        const char* end = scan::parseFloat(text.data(), text.data() + text.size(), value);
        ASSERT_EQ(end != nullptr, error == std::errc()) << text;
        if (!end) continue;
        EXPECT_EQ(end, stop) << text;
        ASSERT_EQ(std::bit_cast<uint32_t>(value), std::bit_cast<uint32_t>(expected)) << text;
    }
}

// A key line of frame n whose first number is x and the other nine 0.
std::string line(int n, int x = 0) { return std::to_string(n) + " " + std::to_string(x) + " 0 0 0 0 0 0 0 0 0\n"; }

std::vector<int32_t> framesOf(const AnimationKeys& read) {
    std::vector<int32_t> frames;
    for (const AnimationKey& key : read.keys) frames.push_back(key.frame);
    return frames;
}

void expectNear(const std::array<float, 3>& actual, const std::array<float, 3>& expected) {
    for (int a = 0; a < 3; ++a) EXPECT_NEAR(actual[a], expected[a], 1e-4f) << "component " << a;
}

TEST(FrameFiles, KeysTakeTheirFrameNumbersAndFillGapsTowardsTheLine) {
    const std::pair<std::string, std::vector<int32_t>> cases[] = {
        {line(0) + line(3, 3), {0, 3, 3, 3}},
        // Any first number; then 0 or less appends, below the count drops.
        {line(5) + line(-2) + line(0) + line(2), {5, -2, 0}},
    };
    for (const auto& [text, frames] : cases)
        EXPECT_EQ(framesOf(readAnimationKeys(text, "k.txt", nullptr)), frames) << text;
    // Thirds from the first key's position to the line's.
    AnimationKeys thirds = readAnimationKeys(cases[0].first, "k.txt", nullptr);
    for (int k = 1; k <= 3; ++k) expectNear(thirds.keys[k].position, {float(k), 0, 0});

    // Any one character separates fields; (x, y, z) read become (x, -z, -y); bad lines are reported once per kind.
    AnimationKeys read = readAnimationKeys("0,1.5,2,3,4,5,6,7,8,9,10\r\n\n1 1 2\n1 1 2 3 4 5 6 7 8 9 10 11\n"
                                           "1;  -1e1 +2 3 4 5 6 7 8 9 10;\n" + line(4) + line(999999),
                                           "keys.txt", nullptr);
    EXPECT_EQ(framesOf(read), (std::vector<int32_t>{0, 1, 4, 4, 4}));
    expectNear(read.keys[1].position, {-10, -3, -2});
    EXPECT_EQ(read.diagnostics,
              (std::vector<std::string>{
                  "keys.txt: 2 lines not of a frame number and ten numbers skipped, the first at line 3",
                  "keys.txt: 1 line whose frame number lies more than 100000 frames ahead, or beyond 1000000 "
                  "frames, skipped, the first at line 7"}));
}

TEST(FrameFiles, CameraFramesFillGapsTowardsTheLineAndDropNumbersAlreadyRead) {
    // Position (-c1, c3, c2); angles in degrees (c7 - pi/2, -c9, -c8).
    CameraFrames read = readCameraFrames("1 3 1 2 0 0 0 1.5707964 0.5 0.25 0\r\n"
                                         "4 6 4 5 7 8 9 0 0 0 0\n2 9 9 9 0 0 0 0 0 0 0\n0 1 1 1 0 0 0 0 0 0 0\n",
                                         "cam.txt");
    ASSERT_EQ(read.frames.size(), 5u);  // 1; 2 .. 4 filled; the 2 dropped; the 0 appended
    expectNear(read.frames[0].position, {-3, 2, 1});
    expectNear(read.frames[0].angles, {0, -14.323944f, -28.647888f});
    for (int k = 1; k <= 3; ++k) {  // thirds from (-3, 2, 1) to (-6, 5, 4), each with the line's other numbers
        expectNear(read.frames[k].position, {-3.0f - k, 2.0f + k, 1.0f + k});
        expectNear(read.frames[k].further, {7, 8, 9});
    }
    expectNear(read.frames[4].position, {-1, 1, 1});
    EXPECT_TRUE(read.diagnostics.empty());
}

}  // namespace
}  // namespace vorn::test
