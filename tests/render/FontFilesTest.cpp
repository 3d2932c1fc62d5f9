#include "render/FontFiles.h"

#include "platform/Paths.h"
#include "tests/support/WorkingDirectory.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

using namespace vorn::render;
using vorn::test::TempDir;
using vorn::test::WorkingDirectory;

namespace {

// Runs the test body inside a fresh folder, as the player runs in a production's.
class FontFiles : public ::testing::Test {
protected:
    WorkingDirectory here_;
    const TempDir& dir_ = here_.folder();
};

// Opens the file as a face and tells whether it is monospaced; -1 if it is no font.
int fixedWidth(const std::string& path) {
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) != 0) return -1;
    int result = -1;
    if (FT_New_Face(library, path.c_str(), 0, &face) == 0) {
        result = FT_IS_FIXED_WIDTH(face) ? 1 : 0;
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return result;
}

}  // namespace

TEST_F(FontFiles, SystemMatchStandsInWhenTheProductionShipsNoFont) {
    std::string verdana = fontFileFor(kVerdanaFile, "Verdana");
    std::string courier = fontFileFor(kCourierFile, "Courier");
    ASSERT_FALSE(verdana.empty());
    ASSERT_FALSE(courier.empty());
    EXPECT_EQ(verdana.front(), '/') << verdana;
    EXPECT_EQ(fixedWidth(verdana), 0) << verdana;
    EXPECT_EQ(fixedWidth(courier), 1) << courier << " should be a monospaced face";
}

TEST_F(FontFiles, ShippedFileWinsWhateverItsCase) {
    std::string system = fontFileFor(kVerdanaFile, "Verdana");
    ASSERT_FALSE(system.empty());
    auto bytes = vorn::platform::readFile(system, 64 << 20);
    ASSERT_TRUE(bytes.has_value());
    dir_.write("Fonts/Verdana.TTF", *bytes);

    std::string shipped = fontFileFor(kVerdanaFile, "Verdana");
    EXPECT_EQ(shipped, "Fonts/Verdana.TTF");
    EXPECT_EQ(fixedWidth(shipped), 0);
}
