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

TEST_F(Graphics, FontNamesResolveIgnoringCaseAndOnesNoInstalledFontServesGiveNil) {
    const std::tuple<const char*, CGFloat, const char*> cases[] = {
        {"arial", 55, "Liberation Sans"},
        {"ARIAL", 12, "Liberation Sans"},
        {"liberation serif", 10, "Liberation Serif"},
        {"NoSuchFontAnywhere", 12, nullptr},
        {nullptr, 12, nullptr},
        {"", 12, nullptr},
        {"arial", 0, nullptr},
        {"arial", -3, nullptr}};
    for (auto [name, size, family] : cases) {
        Ref<UIFont> font = UIFont::fontWithName(name ? NSString::string(name) : nullptr, size);
        ASSERT_EQ(font != nullptr, family != nullptr) << (name ? name : "(nil)") << " " << size;
        if (!family) continue;
        EXPECT_EQ(font->familyName()->utf8(), family);
        EXPECT_FALSE(font->filePath()->utf8().empty());
    }
    EXPECT_TRUE(UIFont::systemFontOfSize(17));
}

TEST_F(Graphics, ColoursKeepTheirComponentsWithinRange) {
    CGFloat r, g, b, a;
    UIColor::colorWithRed(0.25, 0.5, 0.75, 1)->getRed(&r, &g, &b, &a);
    EXPECT_EQ((UIColor::Components{r, g, b, a}), (UIColor::Components{0.25, 0.5, 0.75, 1}));
    EXPECT_TRUE(objectsEqual(UIColor::clearColor(), UIColor::colorWithRed(0, 0, 0, 0)));
    EXPECT_EQ(UIColor::colorWithRed(2, -1, 0.0 / 0.0, 0.5)->components(),
              (UIColor::Components{1, 0, 0, 0.5}));
}

TEST_F(Graphics, FactoriesSentToASubclassMakeTheSubclass) {
    Class shade = subclassOf(UIColor::objcClass(), "TestShade");
    Ref<UIColor> white = send<Ref<UIColor>>(shade, "whiteColor"_sel);
    EXPECT_EQ(object_getClass(white.get()), shade);
    EXPECT_TRUE(objectsEqual(white, UIColor::colorWithWhite(1, 1)));
    Class face = subclassOf(UIFont::objcClass(), "TestFace");
    EXPECT_EQ(object_getClass(send<Ref<UIFont>>(face, "systemFontOfSize:"_sel, 12.0).get()), face);
}

TEST_F(Graphics, ImageNamedLoadsPNGFilesUnderTheDeviceRootAndNilForMissingOrBrokenOnes) {
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
}

TEST_F(Graphics, ImageNamedSeesAChangedFileOnlyAfterAMemoryWarning) {
    writePNG("/Library/images/kept.png", 20, 10, 1, 0, 0);
    Ref<UIImage> first = UIImage::imageNamed("/Library/images/kept.png"_ns);
    writePNG("/Library/images/kept.png", 40, 10, 1, 0, 0);
    EXPECT_EQ(UIImage::imageNamed("/Library/images/kept.png"_ns)->pixelWidth(), 20);
    NSNotificationCenter::defaultCenter()->postNotificationName(
        UIApplicationDidReceiveMemoryWarningNotification, nullptr);
    EXPECT_EQ(UIImage::imageNamed("/Library/images/kept.png"_ns)->pixelWidth(), 40);
    EXPECT_EQ(first->pixelWidth(), 20);
}

TEST_F(Graphics, ImageContextsHavePointsTimesScalePixelsAndImagesDrawSqueezedIntoThem) {
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
}

TEST_F(Graphics, EncodedPNGsDecodeToTheSamePixelsWithOrWithoutAlpha) {
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
