#include "render/FontFiles.h"

#include "platform/Paths.h"
#include "render/TextRenderer.h"
#include "tests/support/GlFixture.h"
#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

using namespace vorn::render;

class FontFiles : public vorn::test::GlTest {};

TEST_F(FontFiles, TheShippedFileWinsWhateverItsCaseElseTheSystemsMatchStandsIn) {
    vorn::test::WorkingDirectory production;
    const std::string verdana = fontFileFor(kVerdanaFile, "Verdana");
    ASSERT_EQ(verdana.rfind('/', 0), 0u) << "an installed face by its full path: " << verdana;
    // A narrow and a wide letter are as wide only in the monospaced face.
    TextRenderer proportional(verdana), monospaced(fontFileFor(kCourierFile, "Courier"));
    EXPECT_NE(proportional.MeasureText(20, "i"), proportional.MeasureText(20, "W"));
    EXPECT_EQ(monospaced.MeasureText(20, "i"), monospaced.MeasureText(20, "W"));
    EXPECT_GT(monospaced.MeasureText(20, "i"), 0);

    production.folder().write("Fonts/Verdana.TTF", vorn::platform::readFile(verdana, 64 << 20).value());
    EXPECT_EQ(fontFileFor(kVerdanaFile, "Verdana"), "Fonts/Verdana.TTF");
}
