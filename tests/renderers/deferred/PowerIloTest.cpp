#include "renderers/deferred/PowerIlo.h"

#include "engine/Engine.h"
#include "nodes/scene/CameraNode.h"
#include "nodes/scene/GeometryNode.h"
#include "platform/Debug.h"
#include "platform/ImageEncoder.h"
#include "platform/Paths.h"
#include "renderers/deferred/DeferredNodeTypes.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlFixture.h"
#include "tests/support/GlObjectCount.h"
#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorn::test {
namespace {

using nodes::ImageNode_PowerIlo;
using Colour = std::array<float, 4>;
using Uv = std::function<std::array<float, 2>(float x, float y)>;

// The default camera looks down -z from (0, 0, 1.5) with a 60 degree, 16:9
// lens: on the plane z = 0 the picture spans x in +-kHalfWidth, y in +-kHalfHeight.
constexpr float kTan30 = 0.57735027f;
constexpr float kHalfWidth = 1.5f * kTan30 * 1.7777778f;
constexpr float kHalfHeight = 1.5f * kTan30;
constexpr Colour kNothing{0, 0, 0, 0};

// The default camera's lens: 60 degrees, 16:9, near 0.1, far 10000.
render::Mat4 lens() {
    const float f = 1 / kTan30;
    return {f / 1.7777778f, 0, 0, 0, 0, f, 0, 0, 0, 0, -1.00002f, -1, 0, 0, -0.200002f, 0};
}

// A 1x1 float texture: a flat material map.
class Swatch : public render::GL_Image {
public:
    explicit Swatch(const Colour& c) {
        width = height = 1;
        textures.assign(1, 0);
        glGenTextures(1, textures.data());
        glBindTexture(GL_TEXTURE_2D, textures[0]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, c.data());
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    ~Swatch() override { glDeleteTextures(1, textures.data()); }
};

class TestGeometry : public nodes::GeometryNode {
public:
    using GeometryNode::GeometryNode;
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
};

class TestCamera : public nodes::CameraNode {
public:
    using CameraNode::CameraNode;
    bool process() override { return true; }
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

class DeferredRenderer : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        nodes::attachDeferredNodeTypes(engine_.factory);
        ASSERT_TRUE(engine_.createNode("Ilo", "Render_PowerIlo"));
        ilo_ = dynamic_cast<ImageNode_PowerIlo*>(engine_.findNode("Ilo"));
        ASSERT_FALSE(ilo_->hasError);
        ilo_->reflectionMap = "";  // black environment unless a test gives one
        auto geometry = std::make_unique<TestGeometry>(engine_, "Geometry");
        geometry_ = geometry.get();
        engine_.addNode("Geometry", std::move(geometry));
        ASSERT_TRUE(engine_.connect("Geometry", "Ilo", 0));
        material_.normalStrength = 0.0f;  // flat unless a test maps normals
        geometry_->material = &material_;
    }

    nodes::MeshObject& add(const nodes::MeshData& mesh, const nodes::Material* material = nullptr) {
        geometry_->objects.push_back(nodes::createMeshObject(mesh));
        geometry_->objects.back().material = material;
        return geometry_->objects.back();
    }
    // The plane under the whole picture.
    void addPlane() { add(quad(-3, -3, 3, 3, kPlaneUv)); }
    render::GL_Image* swatch(const Colour& c) { return swatches_.emplace_back(std::make_unique<Swatch>(c)).get(); }

    void frame(int32_t output) {
        ilo_->output = output;
        for (auto& [name, node] : engine_.nodesByName) node->evaluated = false;
        ASSERT_TRUE(ilo_->evaluate());
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    static Colour texel(const render::GL_Image* image, int attachment, int x, int y) {
        auto* target = dynamic_cast<const render::GL_FrameBuffer*>(image);
        if (!target) return {-1, -1, -1, -1};
        std::vector<float> t = readAttachmentFloat(target->framebuffer, attachment, x, y, 1, 1);
        return {t[0], t[1], t[2], t[3]};
    }
    // The output where the default camera sees the point (x, y, 0).
    Colour outputAt(float x, float y) const {
        int column = int((x / kHalfWidth + 1) * 960), row = int((y / kHalfHeight + 1) * 540);
        return texel(ilo_->images[0], 0, column, row);
    }

    WorkingDirectory folder_;
    std::vector<std::unique_ptr<Swatch>> swatches_;
    engine::Engine engine_;
    ImageNode_PowerIlo* ilo_ = nullptr;
    TestGeometry* geometry_ = nullptr;
    nodes::PbrMaterial material_;
};

TEST_F(DeferredRenderer, DiagnosticOutputsShowThePlaneAsTheCameraSeesIt) {
    material_.albedoMap = swatch({0.5f, 0.25f, 1.0f, 1.0f});
    material_.albedoColor = {1.0f, 0.5f, 0.5f, 1.0f};
    material_.albedoIntensity = 2.0f;
    material_.normalMap = swatch({0.5f, 0.5f, 1.0f, 1.0f});  // exactly flat
    material_.lightMap = swatch({0.2f, 0.4f, 0.6f, 1.0f});
    material_.incidentEmission = 0.0f;
    material_.roughnessMap = swatch({0.3f, 0, 0, 1});
    material_.metalnessMap = swatch({0.7f, 0, 0, 1});
    addPlane();
    // Eye-space position of the point (x, y, 0) is (x, y, -1.5).
    auto distance = [](float x, float y) { return std::sqrt(x * x + y * y + 1.5f * 1.5f); };
    const float luminance = 0.299f * 0.2f + 0.587f * 0.4f + 0.114f * 0.6f;
    struct Case {
        int32_t output;
        float x, y;
        Colour expected;
    } cases[] = {
        {ImageNode_PowerIlo::Normals, 0.7f, -0.4f, {0.5f, 0.5f, 1.0f, 1.0f}},
        {ImageNode_PowerIlo::Position, 0.7f, -0.4f, {1 + 0.7f * 0.05f, 1 - 0.4f * 0.05f, 1 - 1.5f * 0.05f, 1}},
        {ImageNode_PowerIlo::Depth, 0.0f, 0.0f, {0.075f, 0.075f, 0.075f, 1}},
        {ImageNode_PowerIlo::Depth, -1.2f, 0.6f,
         {distance(-1.2f, 0.6f) * 0.05f, distance(-1.2f, 0.6f) * 0.05f, distance(-1.2f, 0.6f) * 0.05f, 1}},
        {ImageNode_PowerIlo::Emission, 0.3f, 0.3f, {0.2f * luminance, 0.4f * luminance, 0.6f * luminance, 1}},
        {ImageNode_PowerIlo::Roughness, 0.3f, 0.3f, {0.3f, 0.3f, 0.3f, 1}},
        {ImageNode_PowerIlo::Metalness, 0.3f, 0.3f, {0.7f, 0.7f, 0.7f, 1}},
        {ImageNode_PowerIlo::Ao, 0.3f, 0.3f, {1, 0, 0, 1}},  // AO off: the cleared target
        {ImageNode_PowerIlo::Albedo, -0.9f, 0.5f, {1.0f, 0.25f, 1.0f, 1.0f}},
        {ImageNode_PowerIlo::Uv, -0.9f, 0.5f, {(3 - 0.9f) / 6, (3 + 0.5f) / 6, 0, 1}},
    };
    for (const Case& c : cases) {
        frame(c.output);
        expectColour(outputAt(c.x, c.y), c.expected, "output " + std::to_string(c.output));
    }
}

TEST_F(DeferredRenderer, TheCameraSetsTheViewAndLetterboxesItsAspect) {
    auto node = std::make_unique<TestCamera>(engine_, "Camera");
    TestCamera* camera = node.get();
    engine_.addNode("Camera", std::move(node));
    ASSERT_TRUE(engine_.connect("Camera", "Ilo", 1));
    camera->viewMatrix = render::translationMatrix(0, 0, -3);  // the plane 3 units ahead
    camera->projectionMatrix = lens();
    addPlane();
    // Pixels whose centres fall inside the rectangle are drawn: 2.39 keeps
    // rows 138..941 (y within +-0.7438), 1 keeps columns 420..1499 (x within +-0.5625).
    struct Case {
        float aspect;
        int x0, y0, x1, y1;  // first and last pixel drawn
    } cases[] = {{2.39f, 0, 138, 1919, 941}, {1.7777778f, 0, 0, 1919, 1079}, {1.0f, 420, 0, 1499, 1079}};
    for (const Case& c : cases) {
        camera->aspect = c.aspect;
        frame(ImageNode_PowerIlo::Depth);
        std::string what = "aspect " + std::to_string(c.aspect);
        expectColour(texel(ilo_->images[0], 0, 959, 539), {0.15f, 0.15f, 0.15f, 1}, what);
        for (auto [x, y] : {std::pair{c.x0, c.y0}, {c.x1, c.y1}}) EXPECT_EQ(texel(ilo_->images[0], 0, x, y)[3], 1.0f) << what;
        if (c.y0 > 0) expectColour(texel(ilo_->images[0], 0, 959, c.y0 - 1), kNothing, what);
        if (c.y1 < 1079) expectColour(texel(ilo_->images[0], 0, 959, c.y1 + 1), kNothing, what);
        if (c.x0 > 0) expectColour(texel(ilo_->images[0], 0, c.x0 - 1, 539), kNothing, what);
        if (c.x1 < 1919) expectColour(texel(ilo_->images[0], 0, c.x1 + 1, 539), kNothing, what);
    }
}

TEST_F(DeferredRenderer, BothPassesDrawAnObjectWithItsOwnOrItsNodesPbrMaterial) {
    nodes::PbrMaterial red, tint;
    red.albedoMap = swatch({1, 0, 0, 1});
    tint.albedoColor = {0.5f, 1, 1, 1};  // no map of its own
    nodes::RadMaterial rad;
    const Colour kRed{1, 0, 0, 1}, kTinted{0.5f, 0, 0, 1}, kBlack{0, 0, 0, 1};
    struct Case {
        const char* what;
        const nodes::Material* node;
        const nodes::Material* left;
        const nodes::Material* right;
        Colour leftAlbedo, rightAlbedo;  // kNothing: not drawn
    } cases[] = {
        {"the node's material", &red, nullptr, nullptr, kRed, kRed},
        {"an own material, its map missing, keeps the map bound before", &red, nullptr, &tint, kRed, kTinted},
        {"a missing map with nothing bound before samples black", &tint, nullptr, nullptr, kBlack, kBlack},
        {"no material", nullptr, nullptr, nullptr, kNothing, kNothing},
        {"a RAD material on the node", &rad, nullptr, &red, kNothing, kRed},
        {"a RAD material of the object's own", &red, &rad, nullptr, kNothing, kRed},
    };
    for (const Case& c : cases) {
        geometry_->releaseObjects();
        geometry_->material = c.node;
        add(quad(-3, -3, 0, 3, kPlaneUv), c.left);
        add(quad(0, -3, 3, 3, kPlaneUv), c.right);
        frame(ImageNode_PowerIlo::Albedo);
        expectColour(outputAt(-0.5f, 0), c.leftAlbedo, std::string(c.what) + ", simple pass, left");
        expectColour(outputAt(0.5f, 0), c.rightAlbedo, std::string(c.what) + ", simple pass, right");
        frame(ImageNode_PowerIlo::Normals);
        EXPECT_EQ(outputAt(-0.5f, 0)[3], c.leftAlbedo[3]) << c.what << ", main pass, left";
        EXPECT_EQ(outputAt(0.5f, 0)[3], c.rightAlbedo[3]) << c.what << ", main pass, right";
    }
}

TEST_F(DeferredRenderer, TheSimplePassDrawsTheFirstVerticesUnindexed) {
    // Four corners; unindexed, the first three cover the lower right half
    // (below y = x), while the indices name the upper left one.
    nodes::MeshData mesh;
    for (auto [x, y] : {std::pair{-3.0f, -3.0f}, {3.0f, -3.0f}, {3.0f, 3.0f}, {-3.0f, 3.0f}})
        mesh.vertices.push_back({{x, y, 0}, {0, 0, 1}, {0, 0}});
    mesh.indices = {0, 2, 3};
    add(mesh);
    frame(ImageNode_PowerIlo::Uv);
    EXPECT_EQ(outputAt(0.5f, -0.5f)[3], 1.0f);
    EXPECT_EQ(outputAt(-0.5f, 0.5f)[3], 0.0f);
    frame(ImageNode_PowerIlo::Normals);
    EXPECT_EQ(outputAt(0.5f, -0.5f)[3], 0.0f);
    EXPECT_EQ(outputAt(-0.5f, 0.5f)[3], 1.0f);
}

TEST_F(DeferredRenderer, ObjectsOutOfTheDynamicReflectionAreStillDrawn) {
    // A card below the mirror plane y = 0 shows above it in the reflection,
    // lit by its emission alone (the environment is black).
    material_.lightMap = swatch({0.2f, 0.4f, 0.6f, 1});
    material_.incidentEmission = 0.0f;
    add(quad(-0.5f, -0.8f, 0.5f, -0.2f, kPlaneUv));
    ilo_->reflectionEnable = true;
    for (bool inDynRef : {true, false}) {
        material_.inDynRef = inDynRef;
        frame(ImageNode_PowerIlo::DynamicReflection);
        expectColour(outputAt(0, 0.5f), inDynRef ? Colour{0.2f, 0.4f, 0.6f, 1} : kNothing, "mirrored card");
        expectColour(outputAt(0, -0.5f), kNothing, "where the card stands");
        frame(ImageNode_PowerIlo::Normals);
        expectColour(outputAt(0, -0.5f), {0.5f, 0.5f, 1, 1}, "the card in the main pass");
    }
}

TEST_F(DeferredRenderer, DepthOfFieldBlursWhatLiesBehindItsStart) {
    // Red emission left of x = 0, blue right; the plane is 1.5 units away in
    // the middle. Around the last red column a full circle (radius 2) holds 13
    // pixel centres, 4 of them blue; a circle of radius 1.5 (three quarters of
    // the way from start 0.9 to end 1.7) holds 9, 3 of them blue.
    nodes::PbrMaterial red, blue;
    red.lightMap = swatch({1, 0, 0, 1});
    blue.lightMap = swatch({0, 0, 1, 1});
    for (nodes::PbrMaterial* m : {&red, &blue}) m->incidentEmission = 0.0f, m->normalStrength = 0.0f;
    add(quad(-3, -3, 0, 3, kPlaneUv), &red);
    add(quad(0, -3, 3, 3, kPlaneUv), &blue);
    ilo_->dofEnable = true;
    ilo_->dofRadius = 2.0f;
    const Colour sharp{1, 0, 0, 1}, blurred{9.0f / 13, 0, 4.0f / 13, 1}, partly{6.0f / 9, 0, 3.0f / 9, 1};
    struct Case {
        float start, end;
        Colour expected;
    } cases[] = {{0.5f, 1.0f, blurred}, {0.9f, 1.7f, partly}, {1.7f, 0.9f, partly}, {1.0f, 1.0f, blurred},
                 {2.0f, 2.0f, sharp}, {5.0f, 2.0f, sharp}};
    for (const Case& c : cases) {
        ilo_->dofStart = c.start;
        ilo_->dofEnd = c.end;
        frame(ImageNode_PowerIlo::Full);
        std::string what = "start " + std::to_string(c.start) + ", end " + std::to_string(c.end);
        expectColour(texel(ilo_->images[0], 0, 959, 540), c.expected, what);
    }
}

TEST_F(DeferredRenderer, FullColourOfAFlatMaterialInAFlatEnvironment) {
    const uint8_t sky[3] = {128, 64, 192};
    ASSERT_TRUE(platform::writePngFile("env.png", 1, 1, 3, sky));
    ilo_->reflectionMap = "env.png";
    const Colour albedo{0.8f, 0.6f, 0.4f, 1}, emission{0.05f, 0.1f, 0.15f, 1};
    const float r = 0.5f, m = 0.25f;
    material_.albedoMap = swatch(albedo);
    material_.lightMap = swatch(emission);
    material_.roughnessMap = swatch({r, 0, 0, 1});
    material_.metalnessMap = swatch({m, 0, 0, 1});
    material_.incidentEmission = 0.0f;
    addPlane();
    // Facing the camera (NdV = 1) the reflectivity is m (1 - r); metals lose
    // albedo: colour = albedo (1 - m) env + env m (1 - r) + emission. A flat
    // plane neither occludes nor lights itself, so AO and GI change nothing.
    Colour expected{0, 0, 0, 1};
    for (int i = 0; i < 3; ++i) {
        float env = sky[i] / 255.0f;
        expected[i] = albedo[i] * (1 - m) * env + env * m * (1 - r) + emission[i];
    }
    ilo_->aoRadius = ilo_->giRadius = 0.1f;  // every sample lands on the plane
    for (bool effects : {false, true}) {
        ilo_->aoEnable = ilo_->giEnable = effects;
        frame(ImageNode_PowerIlo::Full);
        expectColour(texel(ilo_->images[0], 0, 959, 539), expected, effects ? "with AO and GI" : "plain");
    }
}

TEST_F(DeferredRenderer, NormalMapsTiltTheNormalOnlyWhereTextureCoordinatesVary) {
    // Tangent-space (0.6, 0, 0.8): along the cotangent frame of a plane whose
    // u grows with x and v with y this is the normal (-0.6, 0, 0.8).
    material_.normalMap = swatch({0.8f, 0.5f, 0.9f, 1});
    material_.normalStrength = 1.0f;
    struct Case {
        const char* what;
        Uv uv;
        Colour expected;
    } cases[] = {
        {"varying", kPlaneUv, {0.2f, 0.5f, 0.9f, 1}},
        {"all zero (no texture coordinates)", [](float, float) { return std::array<float, 2>{0, 0}; }, {0.5f, 0.5f, 1, 1}},
        {"constant", [](float, float) { return std::array<float, 2>{0.3f, 0.7f}; }, {0.5f, 0.5f, 1, 1}},
    };
    for (const Case& c : cases) {
        geometry_->releaseObjects();
        add(quad(-3, -3, 3, 3, c.uv));
        frame(ImageNode_PowerIlo::Normals);
        expectColour(outputAt(0.4f, -0.3f), c.expected, c.what);
    }
}

TEST_F(DeferredRenderer, OcclusionRunsOnlyForAPositiveSampleCount) {
    addPlane();
    ilo_->aoEnable = true;
    ilo_->aoRadius = 0.1f;  // every sample lands on the plane, none off screen
    // An open plane does not occlude itself: white where AO ran, the cleared red where it did not.
    for (auto [text, expected] : {std::pair{"16", Colour{1, 1, 1, 1}}, {"0", {1, 0, 0, 1}}, {"abc", {1, 0, 0, 1}},
                                  {"", {1, 0, 0, 1}}, {"-4", {1, 0, 0, 1}}}) {
        ilo_->aoSamples = text;
        frame(ImageNode_PowerIlo::Ao);
        expectColour(outputAt(0.2f, 0.2f), expected, std::string("samples \"") + text + "\"");
    }
    for (auto [text, count] : {std::pair{"16", 16}, {" 8 rays", 8}, {"1e3", 1}, {"99999999999999", 1024}})
        EXPECT_EQ(ImageNode_PowerIlo::sampleCount(text), count) << text;
}

TEST_F(DeferredRenderer, NoInputLeavesANonFiniteValueInAnyTarget) {
    // Each of these made an infinity or NaN somewhere: zero normals, a normal
    // straight up (the pole of the environment), a map texel of exact grey, a
    // roughness below 0, a view that scales (normals facing the camera by more
    // than 1), background pixels under GI, a blur width of 0, DoF with start
    // equal to end.
    const uint8_t sky[3] = {200, 150, 100};
    ASSERT_TRUE(platform::writePngFile("env.png", 1, 1, 3, sky));
    ilo_->reflectionMap = "env.png";
    material_.normalMap = swatch({0.5f, 0.5f, 0.0f, 1});  // halfway to flat: no direction
    material_.normalStrength = 0.5f;
    material_.roughnessMap = swatch({0, 0, 0, 1});
    material_.roughness = 3.0f;
    material_.lightMap = swatch({1, 1, 1, 1});
    nodes::PbrMaterial grey = material_;
    grey.normalMap = swatch({0.5f, 0.5f, 0.5f, 1});
    add(quad(-1, -0.5f, 0, 0.5f, kPlaneUv));
    add(quad(0, -0.5f, 1, 0.5f, kPlaneUv, {0, 0, 0}));
    add(quad(-1, 0.5f, 1, 0.8f, kPlaneUv, {0, 1, 0}), &grey);
    auto camera = std::make_unique<TestCamera>(engine_, "Camera");
    camera->viewMatrix = render::matrixProduct(render::scaleMatrix(1.01f, 1.01f, 1.01f), render::translationMatrix(0, 0, -1.5f));
    camera->projectionMatrix = lens();
    engine_.addNode("Camera", std::move(camera));
    ASSERT_TRUE(engine_.connect("Camera", "Ilo", 1));
    ilo_->reflectionEnable = ilo_->aoEnable = ilo_->giEnable = ilo_->dofEnable = true;
    ilo_->giBlurDist = 0.0f;
    ilo_->dofRadius = 2.0f;
    ilo_->dofStart = ilo_->dofEnd = 1.6f;
    ilo_->depthAlpha = 2.0f;
    frame(ImageNode_PowerIlo::Full);
    for (const auto* target : {ilo_->channelBuffer.get(), ilo_->dynamicReflectionBuffer.get(), ilo_->giResult.get(),
                               ilo_->aoResult.get(), ilo_->blurBuffer.get(), ilo_->giBlurResult.get(),
                               ilo_->outputBuffer.get(), ilo_->dofBuffer.get()})
        for (int attachment = 0; attachment < target->textureCount(); ++attachment) {
            std::vector<float> values =
                readAttachmentFloat(target->framebuffer, attachment, 0, 0, target->width, target->height);
            std::size_t bad = std::count_if(values.begin(), values.end(), [](float v) { return !std::isfinite(v); });
            EXPECT_EQ(bad, 0u) << target->width << "x" << target->height << " target, attachment " << attachment;
        }
}

TEST_F(DeferredRenderer, ASteadyFrameCreatesNoGlObjects) {
    addPlane();
    const uint8_t sky[3] = {10, 20, 30};
    ASSERT_TRUE(platform::writePngFile("env.png", 1, 1, 3, sky));
    ilo_->aoEnable = ilo_->giEnable = ilo_->dofEnable = ilo_->reflectionEnable = true;
    frame(ImageNode_PowerIlo::Full);
    {
        GlObjectCount objects;
        ilo_->reflectionMap = "env.png";  // a new map: one texture, which the count sees
        frame(ImageNode_PowerIlo::Full);
        EXPECT_EQ(objects.created(), 1);
    }
    GlObjectCount objects;
    for (int32_t output : {ImageNode_PowerIlo::Full, ImageNode_PowerIlo::Albedo, ImageNode_PowerIlo::Gi})
        frame(output);
    EXPECT_EQ(objects.created(), 0);
    EXPECT_EQ(objects.deleted(), 0);
}

TEST_F(DeferredRenderer, AnEnvironmentThatDoesNotDecodeIsReportedOnceAndSamplesBlack) {
    std::vector<uint8_t> junk(64, 0x5A);
    ASSERT_TRUE(platform::writeFile("env.jpg", junk));
    platform::DebugCapture log;
    ilo_->reflectionMap = "env.jpg";
    frame(ImageNode_PowerIlo::EnvironmentMap);
    frame(ImageNode_PowerIlo::EnvironmentMap);
    expectColour(texel(ilo_->images[0], 0, 100, 100), {0, 0, 0, 1}, "environment");
    std::size_t lines = 0;
    for (std::size_t at = log.text().find("env.jpg"); at != std::string::npos; at = log.text().find("env.jpg", at + 1))
        ++lines;
    EXPECT_EQ(lines, 1u) << log.text();
}

}  // namespace
}  // namespace vorn::test
