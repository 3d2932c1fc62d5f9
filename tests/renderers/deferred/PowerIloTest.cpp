// "Render_PowerIlo" on small scenes: expected pixels come from the default camera's geometry,
// the cotangent frame or the BRDF worked out by hand; and a steady frame of every 3D node type.
#include "renderers/deferred/PowerIlo.h"

#include "nodes/procedural/CombineGeometry.h"
#include "nodes/procedural/FallingModels.h"
#include "nodes/procedural/FlakeRender.h"
#include "nodes/procedural/ParticleMesher.h"
#include "nodes/procedural/Primitives.h"
#include "nodes/scene/AutoPBRMaterial.h"
#include "platform/Debug.h"
#include "platform/ImageEncoder.h"
#include "platform/Paths.h"
#include "renderers/deferred/DeferredNodeTypes.h"
#include "tests/nodes/scene/SceneTest.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlObjectCount.h"

#include <cmath>
#include <functional>
#include <memory>

namespace vorn::test {
namespace {

using nodes::ImageNode_PowerIlo;
using Colour = std::array<float, 4>;
using Uv = std::function<std::array<float, 2>(float x, float y)>;

// The default camera looks down -z from (0, 0, 1.5) with a 60 degree, 16:9
// lens: on the plane z = 0 the picture spans x in +-kHalfWidth, y in +-kHalfHeight.
constexpr float kHalfHeight = 1.5f * 0.57735027f;
constexpr float kHalfWidth = kHalfHeight * 1.7777778f;
constexpr Colour kNothing{0, 0, 0, 0};

// A 1x1 float texture: a flat material map.
struct Swatch : render::GL_Image {
    explicit Swatch(const Colour& c) {
        width = height = 1;
        textures = {floatTexel(c)};
    }
    ~Swatch() override { glDeleteTextures(1, textures.data()); }
};

// Two triangles of unique vertices over (x0, y0)-(x1, y1) on the plane z = 0.
nodes::MeshData quad(float x0, float y0, float x1, float y1, const Uv& uv, std::array<float, 3> n = {0, 0, 1}) {
    nodes::MeshData mesh;
    for (auto [x, y] : {std::pair{x0, y0}, {x1, y0}, {x1, y1}, {x0, y0}, {x1, y1}, {x0, y1}}) {
        auto [u, v] = uv(x, y);
        mesh.vertices.push_back({{x, y, 0}, {n[0], n[1], n[2]}, {u, v}});
        mesh.indices.push_back(uint32_t(mesh.indices.size()));
    }
    return mesh;
}
const Uv kPlaneUv = [](float x, float y) { return std::array<float, 2>{(x + 3) / 6, (y + 3) / 6}; };

void expectColour(const Colour& actual, const Colour& expected, const std::string& what, float tolerance = 3e-3f) {
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << what << ", channel " << i;
}

class DeferredRenderer : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        nodes::attachDeferredNodeTypes(engine.factory);
        ilo = create<ImageNode_PowerIlo>("Ilo", "Render_PowerIlo");
        ilo->reflectionMap = "";  // black environment unless a test gives one
        geometry = create<TestGeometry>("Geometry", "Test Geometry");
        connect("Geometry", "Ilo", 0);
        material.normalStrength = 0.0f;  // flat unless a test maps normals
        geometry->material = &material;
    }
    void add(const nodes::MeshData& mesh, const nodes::Material* own = nullptr) {
        geometry->objects.push_back(nodes::createMeshObject(mesh));
        geometry->objects.back().material = own;
    }
    render::GL_Image* swatch(const Colour& c) { return swatches.emplace_back(std::make_unique<Swatch>(c)).get(); }
    void useEnvironment(const std::array<uint8_t, 3>& sky) {
        ASSERT_TRUE(platform::writePngFile("env.png", 1, 1, 3, sky.data()));
        ilo->reflectionMap = "env.png";
    }
    TestCamera* addCamera(const render::Mat4& view) {
        auto* camera = create<TestCamera>("Camera", "Test Camera");
        camera->viewMatrix = view;
        connect("Camera", "Ilo", 1);
        return camera;
    }
    void frame(int32_t output) {
        ilo->output = output;
        ASSERT_TRUE(evaluateAt(*ilo));
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    Colour texel(int x, int y) const {  // of the picture the node shows
        auto* target = static_cast<const render::GL_FrameBuffer*>(ilo->images[0]);
        std::vector<float> t = readAttachmentFloat(target->framebuffer, 0, x, y, 1, 1);
        return {t[0], t[1], t[2], t[3]};
    }
    // The output where the default camera sees the point (x, y, 0).
    Colour outputAt(float x, float y) const {
        return texel(int((x / kHalfWidth + 1) * 960), int((y / kHalfHeight + 1) * 540));
    }

    std::vector<std::unique_ptr<Swatch>> swatches;
    ImageNode_PowerIlo* ilo = nullptr;
    TestGeometry* geometry = nullptr;
    nodes::PbrMaterial material;
};

TEST_F(DeferredRenderer, EveryOutputShowsThePlaneAsTheCameraSeesItLitByItsEnvironment) {
    const std::array<uint8_t, 3> sky = {128, 64, 96};
    useEnvironment(sky);
    const Colour albedo{1.0f, 0.25f, 1.0f, 1.0f}, emission{0.2f, 0.4f, 0.6f, 1.0f};
    const float r = 0.3f, m = 0.7f;
    material.albedoMap = swatch({0.5f, 0.25f, 1.0f, 1.0f});
    material.albedoColor = {1.0f, 0.5f, 0.5f, 1.0f};
    material.albedoIntensity = 2.0f;
    material.normalMap = swatch({0.5f, 0.5f, 1.0f, 1.0f});  // exactly flat
    material.lightMap = swatch(emission);
    material.incidentEmission = 0.0f;
    material.roughnessMap = swatch({r, 0, 0, 1});
    material.metalnessMap = swatch({m, 0, 0, 1});
    add(quad(-3, -3, 3, 3, kPlaneUv));  // under the whole picture
    // Facing the camera (NdV = 1) the reflectivity is m (1 - r); metals lose
    // albedo: colour = albedo (1 - m) env + env m (1 - r) + emission.
    Colour full{0, 0, 0, 1};
    for (int i = 0; i < 3; ++i) {
        const float env = sky[i] / 255.0f;
        full[i] = albedo[i] * (1 - m) * env + env * m * (1 - r) + emission[i];
    }
    // Eye-space position of the point (x, y, 0) is (x, y, -1.5); depth and position are scaled by 0.05.
    const float far = std::sqrt(1.2f * 1.2f + 0.6f * 0.6f + 1.5f * 1.5f) * 0.05f;
    const float luminance = 0.299f * 0.2f + 0.587f * 0.4f + 0.114f * 0.6f;
    const struct { int32_t output; float x, y; Colour expected; } cases[] = {
        {ImageNode_PowerIlo::Full, 0.0f, 0.0f, full},
        {ImageNode_PowerIlo::Normals, 0.7f, -0.4f, {0.5f, 0.5f, 1.0f, 1.0f}},
        {ImageNode_PowerIlo::Position, 0.7f, -0.4f, {1 + 0.7f * 0.05f, 1 - 0.4f * 0.05f, 1 - 1.5f * 0.05f, 1}},
        {ImageNode_PowerIlo::Depth, 0.0f, 0.0f, {0.075f, 0.075f, 0.075f, 1}},
        {ImageNode_PowerIlo::Depth, -1.2f, 0.6f, {far, far, far, 1}},
        {ImageNode_PowerIlo::Emission, 0.3f, 0.3f, {0.2f * luminance, 0.4f * luminance, 0.6f * luminance, 1}},
        {ImageNode_PowerIlo::Roughness, 0.3f, 0.3f, {r, r, r, 1}},
        {ImageNode_PowerIlo::Metalness, 0.3f, 0.3f, {m, m, m, 1}},
        {ImageNode_PowerIlo::Ao, 0.3f, 0.3f, {1, 0, 0, 1}},  // AO off: the cleared target
        {ImageNode_PowerIlo::Albedo, -0.9f, 0.5f, albedo},
        {ImageNode_PowerIlo::Uv, -0.9f, 0.5f, {(3 - 0.9f) / 6, (3 + 0.5f) / 6, 0, 1}},
    };
    for (const auto& c : cases) {
        frame(c.output);
        expectColour(outputAt(c.x, c.y), c.expected, "output " + std::to_string(c.output));
    }
    // A flat plane neither occludes nor lights itself: AO and GI change nothing.
    ilo->aoRadius = ilo->giRadius = 0.1f;  // every sample lands on the plane, none off screen
    ilo->aoEnable = ilo->giEnable = true;
    frame(ImageNode_PowerIlo::Full);
    expectColour(outputAt(0, 0), full, "with AO and GI");
    ilo->giEnable = false;
    // Occlusion runs only for a positive sample count: white, else the cleared red.
    for (auto [text, expected] : {std::pair{"16", Colour{1, 1, 1, 1}}, {"0", {1, 0, 0, 1}}, {"abc", {1, 0, 0, 1}},
                                  {"", {1, 0, 0, 1}}, {"-4", {1, 0, 0, 1}}}) {
        ilo->aoSamples = text;
        frame(ImageNode_PowerIlo::Ao);
        expectColour(outputAt(0.2f, 0.2f), expected, std::string("samples \"") + text + "\"");
    }
    for (auto [text, count] : {std::pair{" 8 rays", 8}, {"1e3", 1}, {"99999999999999", 1024}})
        EXPECT_EQ(ImageNode_PowerIlo::sampleCount(text), count) << text;

    // An environment that does not decode is reported once and lights nothing.
    ASSERT_TRUE(platform::writeFile("env.jpg", std::vector<uint8_t>(64, 0x5A)));
    platform::DebugCapture log;
    ilo->reflectionMap = "env.jpg";
    frame(ImageNode_PowerIlo::Full);
    frame(ImageNode_PowerIlo::Full);
    expectColour(outputAt(0, 0), emission, "black environment");
    EXPECT_NE(log.text().find("env.jpg"), std::string::npos);
    EXPECT_EQ(log.text().find("env.jpg"), log.text().rfind("env.jpg")) << log.text();
    // With reflections on, the plane mirrored about y = 0 shows its emission;
    // a material kept out of them is still drawn in the main pass.
    ilo->reflectionEnable = true;
    for (bool inDynRef : {true, false}) {
        material.inDynRef = inDynRef;
        frame(ImageNode_PowerIlo::DynamicReflection);
        expectColour(outputAt(0.3f, 0.3f), inDynRef ? emission : kNothing, "dynamic reflection");
        frame(ImageNode_PowerIlo::Normals);
        expectColour(outputAt(0.3f, 0.3f), {0.5f, 0.5f, 1, 1}, "main pass");
    }
}

TEST_F(DeferredRenderer, BothPassesDrawAnObjectWithItsOwnOrItsNodesPbrMaterial) {
    nodes::PbrMaterial red, tint;
    red.albedoMap = swatch({1, 0, 0, 1});
    tint.albedoColor = {0.5f, 1, 1, 1};  // no map of its own
    nodes::RadMaterial rad;
    const Colour kRed{1, 0, 0, 1}, kTinted{0.5f, 0, 0, 1}, kBlack{0, 0, 0, 1};
    const struct {
        const char* what;
        const nodes::Material *node, *left, *right;
        Colour leftAlbedo, rightAlbedo;  // kNothing: not drawn
    } cases[] = {
        {"the node's material", &red, nullptr, nullptr, kRed, kRed},
        {"an own material, its map missing, keeps the map bound before", &red, nullptr, &tint, kRed, kTinted},
        {"a missing map with nothing bound before samples black", &tint, nullptr, nullptr, kBlack, kBlack},
        {"no material", nullptr, nullptr, nullptr, kNothing, kNothing},
        {"a RAD material on the node", &rad, nullptr, &red, kNothing, kRed},
        {"a RAD material of the object's own", &red, &rad, nullptr, kNothing, kRed},
    };
    auto leaveRedBound = [&] {  // as an earlier node may leave the units
        for (int unit = 0; unit < 11; ++unit) {
            glActiveTexture(GLenum(GL_TEXTURE0 + unit));
            glBindTexture(GL_TEXTURE_2D, red.albedoMap->textures[0]);
        }
        glActiveTexture(GL_TEXTURE0);
    };
    for (const auto& c : cases) {
        geometry->releaseObjects();
        geometry->material = c.node;
        add(quad(-3, -3, 0, 3, kPlaneUv), c.left);
        add(quad(0, -3, 3, 3, kPlaneUv), c.right);
        leaveRedBound();
        frame(ImageNode_PowerIlo::Albedo);
        expectColour(outputAt(-0.5f, 0), c.leftAlbedo, std::string(c.what) + ", simple pass, left");
        expectColour(outputAt(0.5f, 0), c.rightAlbedo, std::string(c.what) + ", simple pass, right");
        frame(ImageNode_PowerIlo::Normals);
        EXPECT_EQ(outputAt(-0.5f, 0)[3], c.leftAlbedo[3]) << c.what << ", main pass, left";
        EXPECT_EQ(outputAt(0.5f, 0)[3], c.rightAlbedo[3]) << c.what << ", main pass, right";
    }
}

TEST_F(DeferredRenderer, TheSimplePassDrawsTheFirstVerticesUnindexedAndTheMainPassTheIndices) {
    nodes::MeshData half = quad(-3, -3, 0, 3, kPlaneUv);
    half.indices.resize(3);  // the lower right triangle only
    add(half);
    frame(ImageNode_PowerIlo::Albedo);
    EXPECT_EQ(outputAt(-1.4f, 0.6f)[3], 1.0f) << "simple pass, upper left triangle";
    frame(ImageNode_PowerIlo::Normals);
    EXPECT_EQ(outputAt(-1.4f, 0.6f)[3], 0.0f) << "main pass, upper left triangle";
    EXPECT_EQ(outputAt(-0.2f, -0.5f)[3], 1.0f) << "main pass, lower right triangle";
}

TEST_F(DeferredRenderer, ALensOfAnotherAspectIsLetterboxedIntoTheMiddleOfThePicture) {
    add(quad(-30, -30, 30, 30, kPlaneUv));
    TestCamera* camera = addCamera(render::translationMatrix(0, 0, -1.5f));
    // 2.39 shows rows 138.3 .. 941.7, 1 columns 420 .. 1500: the first and last pixel in, their neighbours out.
    const struct { float aspect; std::array<int, 2> in[2], out[2]; } cases[] = {
        {1.7777778f, {{0, 0}, {1919, 1079}}, {}},
        {2.39f, {{0, 138}, {1919, 941}}, {{0, 137}, {1919, 942}}},
        {1.0f, {{420, 0}, {1499, 1079}}, {{419, 0}, {1500, 1079}}},
    };
    for (const auto& c : cases) {
        camera->aspect = c.aspect;
        camera->projectionMatrix = nodes::perspectiveMatrix(60.0f, c.aspect, 0.1f, 10000.0f);
        frame(ImageNode_PowerIlo::Normals);
        for (auto [x, y] : c.in) EXPECT_EQ(texel(x, y)[3], 1.0f) << c.aspect << ": " << x << ", " << y;
        for (auto [x, y] : c.out)
            if (x || y) EXPECT_EQ(texel(x, y)[3], 0.0f) << c.aspect << ": " << x << ", " << y;
    }
}

TEST_F(DeferredRenderer, DepthOfFieldBlursWhatLiesBehindItsStart) {
    // Red emission left of x = 0, blue right, 1.5 away in the middle. Around the last red column a full
    // circle (radius 2) holds 13 pixel centres, 4 of them blue; a circle of radius 1.5 (three quarters
    // of the way from start 0.9 to end 1.7) holds 9, 3 of them blue.
    nodes::PbrMaterial red, blue;
    red.lightMap = swatch({1, 0, 0, 1});
    blue.lightMap = swatch({0, 0, 1, 1});
    for (nodes::PbrMaterial* m : {&red, &blue}) m->incidentEmission = 0.0f, m->normalStrength = 0.0f;
    add(quad(-3, -3, 0, 3, kPlaneUv), &red);
    add(quad(0, -3, 3, 3, kPlaneUv), &blue);
    ilo->dofEnable = true;
    ilo->dofRadius = 2.0f;
    const Colour sharp{1, 0, 0, 1}, blurred{9.0f / 13, 0, 4.0f / 13, 1}, partly{6.0f / 9, 0, 3.0f / 9, 1};
    const struct { float start, end; Colour expected; } cases[] = {
        {0.5f, 1.0f, blurred}, {0.9f, 1.7f, partly}, {1.7f, 0.9f, partly},
        {1.0f, 1.0f, blurred}, {2.0f, 2.0f, sharp},   {5.0f, 2.0f, sharp}};
    for (const auto& c : cases) {
        ilo->dofStart = c.start;
        ilo->dofEnd = c.end;
        frame(ImageNode_PowerIlo::Full);
        expectColour(texel(959, 540), c.expected, "DoF " + std::to_string(c.start) + " .. " + std::to_string(c.end));
    }
}

TEST_F(DeferredRenderer, NormalMapsTiltTheNormalOnlyWhereTextureCoordinatesVary) {
    // Tangent-space (0.6, 0, 0.8): along the cotangent frame of a plane whose
    // u grows with x and v with y this is the normal (-0.6, 0, 0.8).
    material.normalMap = swatch({0.8f, 0.5f, 0.9f, 1});
    material.normalStrength = 1.0f;
    const Colour flat{0.5f, 0.5f, 1, 1};
    const std::tuple<const char*, Uv, Colour> cases[] = {
        {"varying", kPlaneUv, {0.2f, 0.5f, 0.9f, 1}},
        {"all zero (no texture coordinates)", [](float, float) { return std::array<float, 2>{0, 0}; }, flat},
        {"constant", [](float, float) { return std::array<float, 2>{0.3f, 0.7f}; }, flat},
    };
    for (const auto& [what, uv, expected] : cases) {
        geometry->releaseObjects();
        add(quad(-3, -3, 3, 3, uv));
        frame(ImageNode_PowerIlo::Normals);
        expectColour(outputAt(0.4f, -0.3f), expected, what);
    }
}

TEST_F(DeferredRenderer, NoInputLeavesANonFiniteValueInAnyTarget) {
    // Each made an infinity or NaN somewhere: zero normals, a normal straight up (the environment's
    // pole), a map texel of exact grey, a roughness below 0, a view that scales (normals facing the
    // camera by more than 1), background under GI, a blur width of 0, DoF with start equal to end.
    useEnvironment({200, 150, 100});
    material.normalMap = swatch({0.5f, 0.5f, 0.0f, 1});  // halfway to flat: no direction
    material.normalStrength = 0.5f;
    material.roughnessMap = swatch({0, 0, 0, 1});
    material.roughness = 3.0f;
    material.lightMap = swatch({1, 1, 1, 1});
    nodes::PbrMaterial grey = material;
    grey.normalMap = swatch({0.5f, 0.5f, 0.5f, 1});
    add(quad(-1, -0.5f, 0, 0.5f, kPlaneUv));
    add(quad(0, -0.5f, 1, 0.5f, kPlaneUv, {0, 0, 0}));
    add(quad(-1, 0.5f, 1, 0.8f, kPlaneUv, {0, 1, 0}), &grey);
    addCamera(render::matrixProduct(render::scaleMatrix(1.01f, 1.01f, 1.01f), render::translationMatrix(0, 0, -1.5f)));
    ilo->reflectionEnable = ilo->aoEnable = ilo->giEnable = ilo->dofEnable = true;
    ilo->giBlurDist = 0.0f;
    ilo->dofRadius = 2.0f;
    ilo->dofStart = ilo->dofEnd = 1.6f;
    ilo->depthAlpha = 2.0f;
    frame(ImageNode_PowerIlo::Full);
    for (const auto* target : {ilo->channelBuffer.get(), ilo->dynamicReflectionBuffer.get(), ilo->giResult.get(),
                               ilo->aoResult.get(), ilo->blurBuffer.get(), ilo->giBlurResult.get(),
                               ilo->outputBuffer.get(), ilo->dofBuffer.get()})
        for (int attachment = 0; attachment < target->textureCount(); ++attachment) {
            std::vector<float> values =
                readAttachmentFloat(target->framebuffer, attachment, 0, 0, target->width, target->height);
            std::size_t bad = std::count_if(values.begin(), values.end(), [](float v) { return !std::isfinite(v); });
            EXPECT_EQ(bad, 0u) << target->width << "x" << target->height << " target, attachment " << attachment;
        }
}

// Every 3D node type in one graph: after the first frame, none creates or deletes GL objects.
TEST_F(DeferredRenderer, ASteadyFrameOfEvery3dNodeCreatesAndDeletesNoGlObjects) {
    auto* plane = create<nodes::GeometryNode_Primitives>("Plane", "3D_Primitive");
    auto* blob = create<nodes::GeometryNode_ParticleMesher>("Blob", "Particle Mesher");
    auto* shower = create<nodes::GeometryNode_FallingModels>("Shower", "FallingModel");
    auto* combine = create<nodes::GeometryNode_CombineGeometry>("Combine", "Combine Geometry");
    create<nodes::GeometryNode_AutoPBRMaterial>("Auto", "PBR_AutoMaterial");
    auto* flakes = create<nodes::ImageNode_FlakeRender>("Flakes", "Render_Flake");
    TestCamera* camera = addCamera(render::translationMatrix(0, 0, -3));
    create<nodes::PBR_MaterialNode>("Mat", "PBR_Material");
    ASSERT_TRUE(engine.disconnect("Ilo", 0));
    for (auto [source, target, input] : {std::tuple{"Mat", "Plane", 0}, {"Plane", "Shower", 0}, {"Plane", "Combine", 0},
                                         {"Blob", "Combine", 1}, {"Shower", "Combine", 2}, {"Combine", "Auto", 0},
                                         {"Auto", "Ilo", 0}, {"Ilo", "Flakes", 0}, {"Camera", "Flakes", 1}})
        connect(source, target, input);
    blob->filename = "blob";
    shower->count = "50";
    flakes->flakeCount = 10000;
    flakes->speed = 1.0f;
    ilo->aoEnable = ilo->giEnable = ilo->dofEnable = ilo->reflectionEnable = true;
    useEnvironment({10, 20, 30});
    evaluateAt(*flakes);  // the renderer first, as the flakes' input
    GlObjectCount count;
    float t = 0.0f;
    for (int32_t output : {ImageNode_PowerIlo::Full, ImageNode_PowerIlo::Albedo, ImageNode_PowerIlo::Gi}) {
        t += 0.5f;
        plane->translate[0] = blob->rotate[1] = combine->rotate[2] = t;
        camera->viewMatrix = render::translationMatrix(0, 0, -3 - t);
        flakes->flakeCount = 10000.5f;  // the same whole count
        ilo->output = output;
        evaluateAt(*flakes, t);
    }
    EXPECT_EQ(count.created(), 0);
    EXPECT_EQ(count.deleted(), 0);
    ilo->reflectionMap = "";  // dropping the map deletes its texture, which the count sees
    evaluateAt(*flakes, t);
    EXPECT_EQ(count.deleted(), 1);
}

}  // namespace
}  // namespace vorn::test
