#include "engine/TrackNaming.h"

#include <gtest/gtest.h>

namespace vorn::engine {
namespace {

// A parameter list built by hand, the way registration would leave it.
struct Parameters {
    float amount = 0.0f;
    float rotateY = 0.0f;
    float rotate[4] = {};
    float scaleX = 0.0f;
    float offset[2] = {};
    float color[4] = {};
    int32_t mode = 0;
    ParameterList list;

    Parameters() {
        addFloat("Amount", &amount, -2.0f, 3.0f);
        addFloat("Rotate.Y", &rotateY, 0.0f, 1.0f);
        auto rotateVec = std::make_unique<ValueVec4>(nullptr, "Rotate", "N");
        rotateVec->target = rotate;
        list.push_back(std::move(rotateVec));
        addFloat("Scale.X", &scaleX, 0.0f, 5.0f);
        auto vec2 = std::make_unique<ValueVec2>(nullptr, "Offset", "N");
        vec2->target = offset;
        list.push_back(std::move(vec2));
        auto vec4 = std::make_unique<ValueVec4>(nullptr, "Color", "N");
        vec4->target = color;
        list.push_back(std::move(vec4));
        auto integer = std::make_unique<ValueInt>(nullptr, "Mode", "N");
        integer->target = &mode;
        list.push_back(std::move(integer));
    }
    void addFloat(const std::string& name, float* target, float minimum, float maximum) {
        auto record = std::make_unique<ValueFloat>(nullptr, name, "N");
        record->target = target;
        record->minimum = minimum;
        record->maximum = maximum;
        list.push_back(std::move(record));
    }
    const Value_Object& named(const std::string& name) const { return *findParameter(list, name); }
};

TEST(TrackNamingTest, SlotsNameEachAnimatedFloat) {
    Parameters p;
    auto amount = trackSlotsFor("Glow 1", p.named("Amount"));
    ASSERT_EQ(amount.size(), 1u);
    EXPECT_EQ(amount[0].trackName, "Glow 1.Amount");
    EXPECT_EQ(amount[0].target, &p.amount);

    auto offset = trackSlotsFor("N", p.named("Offset"));
    ASSERT_EQ(offset.size(), 2u);
    EXPECT_EQ(offset[1].trackName, "N.Offset.y");
    EXPECT_EQ(offset[1].target, &p.offset[1]);

    auto color = trackSlotsFor("N", p.named("Color"));
    ASSERT_EQ(color.size(), 4u);
    const char* names[4] = {"N.Color.r", "N.Color.g", "N.Color.b", "N.Color.a"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(color[i].trackName, names[i]);
        EXPECT_EQ(color[i].target, &p.color[i]);
    }
    EXPECT_TRUE(trackSlotsFor("N", p.named("Mode")).empty());
}

TEST(TrackNamingTest, RangesComeFromTheFloatOrAreFixedPerKind) {
    Parameters p;
    EXPECT_FLOAT_EQ(trackRangeFor(p.named("Amount")).rangeMin, -2.0f);
    EXPECT_FLOAT_EQ(trackRangeFor(p.named("Amount")).rangeMax, 3.0f);
    EXPECT_FLOAT_EQ(trackRangeFor(p.named("Offset")).rangeMin, -1.0f);
    EXPECT_FLOAT_EQ(trackRangeFor(p.named("Offset")).rangeMax, 2.0f);
    EXPECT_FLOAT_EQ(trackRangeFor(p.named("Color")).rangeMin, 0.0f);
    EXPECT_FLOAT_EQ(trackRangeFor(p.named("Color")).rangeMax, 1.0f);
}

TEST(TrackNamingTest, ComponentLettersPickElements) {
    Parameters p;
    EXPECT_EQ(resolveTrackTarget(p.list, "Glow 1", "Glow 1.Color.r"), &p.color[0]);
    EXPECT_EQ(resolveTrackTarget(p.list, "Glow 1", "Glow 1.Color.a"), &p.color[3]);
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Color.y"), &p.color[1]);
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Color.z"), &p.color[2]);
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Color.w"), &p.color[3]);
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Offset.x"), &p.offset[0]);
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Offset.q"), &p.offset[1]);  // any letter but x
}

TEST(TrackNamingTest, ListedWholeNamesAreFloatsNotComponents) {
    Parameters p;
    // "Rotate" also exists as a vec4 here; the listed name still means the float "Rotate.Y".
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Rotate.Y"), &p.rotateY);
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Amount"), &p.amount);
}

TEST(TrackNamingTest, OtherWholeFloatNamesWithADotStillResolve) {
    Parameters p;
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Scale.X"), &p.scaleX);
}

TEST(TrackNamingTest, UnresolvableNamesGiveNothing) {
    Parameters p;
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "Other.Amount"), nullptr);  // node name absent
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N"), nullptr);
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Mode"), nullptr);      // not a float
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Amount.x"), nullptr);  // a float has no components
    EXPECT_EQ(resolveTrackTarget(p.list, "N", "N.Missing"), nullptr);
}

}  // namespace
}  // namespace vorn::engine
