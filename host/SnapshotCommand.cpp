#include "host/SnapshotCommand.h"

#include <cstdio>
#include <filesystem>

#include "ObjectModel/Message.h"
#include "UIKit/PictureFile.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIRenderer.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIScrollView.h"
#include "host/HostProgram.h"
#include "host/IGAccountSettingsViewController.h"
#include "host/IGMainFeedViewController.h"

namespace {

// Lower-case letters and digits, every other run of characters one dash.
std::string slugOf(const std::string& text) {
    std::string slug;
    for (unsigned char c : text) {
        if (std::isalnum(c))
            slug += static_cast<char>(std::tolower(c));
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return slug;
}

struct SnapshotRequest {
    std::string file;
    std::string reference; // --compare REF.png
    bool full = false;     // --full: the whole content as one tall picture
};

std::string readRequest(const SessionArguments& args, SnapshotRequest& request) {
    for (std::size_t at = 0; at < args.size(); ++at) {
        if (args[at] == "--full")
            request.full = true;
        else if (args[at] == "--compare" && at + 1 < args.size())
            request.reference = args[++at];
        else if (args[at].starts_with("--") || !request.file.empty())
            return "Usage: snapshot FILE.png [--full] [--compare REF.png]";
        else
            request.file = args[at];
    }
    return request.file.empty() ? "Usage: snapshot FILE.png [--full] [--compare REF.png]" : "";
}

// The shown scroll view's content, from its top, on a screen as tall as it.
Result<SurfacePtr> renderWhole(UIViewController* controller) {
    Ref<UIView> view = send<Ref<UIView>>(shownController(controller).controller, "view"_sel);
    auto* scroller = as<UIScrollView>(view.get());
    if (!scroller) return renderScreen(controller);
    UIScreen* screen = UIScreen::mainScreen();
    CGSize size = screen->bounds().size;
    scroller->layoutIfNeeded();
    CGFloat bars = screenBarsHeight(controller);
    CGFloat height = bars + std::max(scroller->contentSize().height, size.height - bars);
    if (height * screen->scale() > kMaxScreenPixels)
        return Problem{"the whole screen is " + std::to_string(static_cast<long>(height)) +
                       " points tall, over " + std::to_string(kMaxScreenPixels) +
                       " pixels at this scale; take it a screenful at a time with \"scroll down\""};
    CGRect frame = scroller->frame();
    CGPoint offset = scroller->contentOffset();
    scroller->setContentOffset({0, 0});
    DeviceModel device = screen->device(), tall = device;
    tall.size.height = height;
    screen->setDevice(tall);
    Result<SurfacePtr> surface = renderScreen(controller);
    screen->setDevice(device);
    scroller->setFrame(frame);
    scroller->setContentOffset(offset);
    scroller->layoutIfNeeded();
    return surface;
}

// "shot.png" -> "shot-difference.png".
std::string differenceFile(const std::string& file) {
    std::filesystem::path path(file);
    return (path.parent_path() / (path.stem().string() + "-difference.png")).string();
}

std::string compareWith(cairo_surface_t* surface, const SnapshotRequest& request) {
    PictureComparison comparison = comparePictureWithFile(surface, request.reference);
    std::string problem = comparison.problem;
    if (!comparison.same && comparison.difference) {
        std::string file = differenceFile(request.file);
        Result<void> written = writePictureFile(comparison.difference, file);
        problem += written ? "; the difference is in " + file : "; " + written.problem();
    }
    if (comparison.difference) cairo_surface_destroy(comparison.difference);
    return problem.empty() ? "" : "The picture does not match: " + problem + ".";
}

std::string snapshot(HostSession& session, const SessionArguments& args) {
    SnapshotRequest request;
    if (std::string problem = readRequest(args, request); !problem.empty()) return problem;
    Result<SurfacePtr> surface =
        request.full ? renderWhole(session.navigation()) : renderScreen(session.navigation());
    Result<void> written = surface ? writePictureFile(surface->get(), request.file)
                                   : Result<void>(Problem{surface.problem()});
    if (!written) return "No picture taken: " + written.problem() + ".";
    session.out() << "Picture of the screen written to " << request.file << "\n";
    return request.reference.empty() ? "" : compareWith(surface->get(), request);
}

} // namespace

std::string screenName(UIViewController* controller) {
    UIViewController* shown = shownController(controller).controller;
    if (!shown) return "screen";
    if (as<IGMainFeedViewController>(shown)) return "feed";
    if (as<IGAccountSettingsViewController>(shown)) return "account-settings";
    std::string name = shown->title() ? slugOf(shown->title()->utf8()) : "";
    if (name.empty()) name = slugOf(object_getClassName(shown));
    return name.empty() ? "screen" : name;
}

std::string snapshotFileName(int number, UIViewController* controller) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%03d-", number);
    return prefix + screenName(controller) + ".png";
}

void snapshotEveryScreen(HostSession& session, const std::string& folder) {
    session.setAfterShow([folder, taken = 0](HostSession& shown) mutable {
        std::string file = folder + "/" + snapshotFileName(++taken, shown.navigation());
        if (Result<void> written = renderScreenPNG(shown.navigation(), file); !written)
            shown.errors() << kHostErrorPrefix << "No picture taken: " << written.problem()
                           << ".\n";
    });
}

SessionCommandTable snapshotCommands() {
    return {{"snapshot", "snapshot FILE.png [--full] [--compare REF.png]",
             "write a picture of the screen (PNG); compare it with another", snapshot, false, 1,
             4}};
}
