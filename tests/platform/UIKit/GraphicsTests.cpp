#include "Foundation/NSNotificationCenter.h"
#include "Support.h"
#include "UIKit/PNGEncoder.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIImage.h"

using namespace uikit_support;

using Graphics = ScreenTest;

// Appends the encoder's bytes to a file.
bool appendTo(void* file, const unsigned char* data, std::size_t length) {
    return static_cast<std::ofstream*>(file)
        ->write(reinterpret_cast<const char*>(data), length)
        .good();
}

TEST_F(Graphics, FontNamesResolveIgnoringCaseAndMissingFontsGiveNilOrFallBackSayingSoOnce) {
    for (auto [name, family] : {std::pair{"arial", "Liberation Sans"},
                                {"ARIAL", "Liberation Sans"},
                                {"liberation serif", "Liberation Serif"}}) {
        Ref<UIFont> font = UIFont::fontWithName(NSString::string(name), 12);
        ASSERT_TRUE(font) << name;
        EXPECT_EQ(font->familyName()->utf8(), family);
        EXPECT_FALSE(font->filePath()->utf8().empty());
    }
    for (auto [name, size] :
         {std::pair{"NoSuchFontAnywhere", 12.0}, {"", 12.0}, {"arial", 0.0}, {"arial", -3.0}})
        EXPECT_FALSE(UIFont::fontWithName(NSString::string(name), size)) << name << " " << size;
    EXPECT_FALSE(UIFont::fontWithName(nullptr, 12));
    EXPECT_TRUE(UIFont::systemFontOfSize(17));
    // A family that is not installed falls back to the system's, said once.
    testing::internal::CaptureStderr();
    EXPECT_EQ(installedFamily("No Such Family Anywhere"), kSystemFamily);
    EXPECT_EQ(installedFamily("No Such Family Anywhere"), kSystemFamily);
    EXPECT_EQ(installedFamily(kSystemFamily), kSystemFamily);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("\"No Such Family Anywhere\" is not installed"), std::string::npos);
    EXPECT_EQ(said.find("No Such Family", said.find("No Such Family") + 20), std::string::npos)
        << said;
}

TEST_F(Graphics, ColoursKeepTheirComponentsWithinRangeAndFactoriesMakeTheClassSentTo) {
    CGFloat r, g, b, a;
    UIColor::colorWithRed(0.25, 0.5, 0.75, 1)->getRed(&r, &g, &b, &a);
    EXPECT_EQ((UIColor::Components{r, g, b, a}), (UIColor::Components{0.25, 0.5, 0.75, 1}));
    EXPECT_TRUE(objectsEqual(UIColor::clearColor(), UIColor::colorWithRed(0, 0, 0, 0)));
    EXPECT_EQ(UIColor::colorWithRed(2, -1, 0.0 / 0.0, 0.5)->components(),
              (UIColor::Components{1, 0, 0, 0.5}));
    // Factories sent to a subclass make the subclass.
    Class shade = subclassOf(UIColor::objcClass(), "TestShade");
    Ref<UIColor> white = send<Ref<UIColor>>(shade, "whiteColor"_sel);
    EXPECT_EQ(object_getClass(white.get()), shade);
    EXPECT_TRUE(objectsEqual(white, UIColor::colorWithWhite(1, 1)));
    Class face = subclassOf(UIFont::objcClass(), "TestFace");
    EXPECT_EQ(object_getClass(send<Ref<UIFont>>(face, "systemFontOfSize:"_sel, 12.0).get()), face);
}

TEST_F(Graphics, ImageNamedLoadsAndKeepsPNGFilesUnderTheDeviceRootAndNilForMissingOrBrokenOnes) {
    writePNG("/Library/images/plain.png", 20, 10, 1, 0, 0);
    writePNG("/Library/images/sharp@2x.png", 20, 10, 1, 0, 0);
    Ref<UIImage> plain = UIImage::imageNamed("/Library/images/plain.png"_ns);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->size(), CGSizeMake(20, 10));
    EXPECT_EQ(plain->name()->utf8(), "plain.png");
    Ref<UIImage> sharp = UIImage::imageNamed("/Library/images/sharp@2x.png"_ns);
    ASSERT_TRUE(sharp);
    EXPECT_DOUBLE_EQ(sharp->scale(), 2);
    EXPECT_EQ(sharp->size(), CGSizeMake(10, 5));
    std::ofstream(root_ / "Library/broken.png") << "not a png";
    for (const char* path : {"/Library/images/missing.png", "", "/Library/broken.png", "/Library"})
        EXPECT_FALSE(UIImage::imageNamed(NSString::string(path))) << path;
    EXPECT_FALSE(UIImage::imageNamed(nullptr));
    // The cache keeps the decoded file until a memory warning.
    writePNG("/Library/images/plain.png", 40, 10, 1, 0, 0);
    EXPECT_EQ(UIImage::imageNamed("/Library/images/plain.png"_ns)->pixelWidth(), 20);
    NSNotificationCenter::defaultCenter()->postNotificationName(
        UIApplicationDidReceiveMemoryWarningNotification, nullptr);
    EXPECT_EQ(UIImage::imageNamed("/Library/images/plain.png"_ns)->pixelWidth(), 40);
    EXPECT_EQ(plain->pixelWidth(), 20);
}

TEST_F(Graphics, ImageContextsHavePointsTimesScalePixelsAndEncodedPNGsDecodeToTheSamePixels) {
    writePNG("/wide.png", 200, 100, 0, 0, 1);
    Ref<UIImage> wide = UIImage::imageNamed("/wide.png"_ns);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(35, 35), false, 3);
    wide->drawInRect(CGRectMake(0, 0, 35, 35));
    Ref<UIImage> square = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(square->pixelWidth(), 105);
    EXPECT_EQ(square->size(), CGSizeMake(35, 35));
    EXPECT_EQ(pixelAt(square->surface(), 0, 0), 0xFF0000FFu);
    EXPECT_EQ(pixelAt(square->surface(), 104, 104), 0xFF0000FFu);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10, 4), false, 0);
    Ref<UIImage> screen = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(screen->pixelHeight(), 8) << "scale 0 is the screen's";
    EXPECT_DOUBLE_EQ(screen->scale(), 2);
    EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext());
    UIGraphicsEndImageContext();              // without a context: nothing happens
    wide->drawInRect(CGRectMake(0, 0, 1, 1)); // likewise
    // Encoded PNGs decode to the same pixels, with or without alpha.
    for (double alpha : {1.0, 0.5}) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 3, 2);
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgba(cr, 0.2, 0.6, 1.0, alpha);
        cairo_rectangle(cr, 1, 0, 2, 2);
        cairo_fill(cr);
        cairo_destroy(cr);
        std::ofstream file(root_ / "encoded.png", std::ios::binary);
        ASSERT_TRUE(encodePNG(surface, appendTo, &file));
        file.close();
        cairo_surface_t* decoded =
            cairo_image_surface_create_from_png((root_ / "encoded.png").c_str());
        for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 1}})
            EXPECT_TRUE(pixelsClose(pixelAt(decoded, x, y), pixelAt(surface, x, y))) << alpha;
        cairo_surface_destroy(decoded);
        cairo_surface_destroy(surface);
    }
}
