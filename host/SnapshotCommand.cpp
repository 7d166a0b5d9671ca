#include "host/SnapshotCommand.h"

#include <cstdio>

#include "UIKit/UINavigationController.h"
#include "UIKit/UIRenderer.h"
#include "host/HostSession.h"
#include "host/IGAccountSettingsViewController.h"
#include "host/IGMainFeedViewController.h"

namespace {

UIViewController* shownScreen(UIViewController* controller) {
    while (controller && controller->presentedViewController())
        controller = controller->presentedViewController();
    auto* navigation = as<UINavigationController>(controller);
    return navigation ? navigation->topViewController() : controller;
}

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

std::string snapshot(HostSession& session, const SessionArguments& args) {
    if (args.size() != 1) return "snapshot needs one FILE.png (in quotes when it has spaces).";
    std::string problem = writeSnapshot(session.navigation(), args[0]);
    if (problem.empty()) session.out() << "Picture of the screen written to " << args[0] << "\n";
    return problem;
}

} // namespace

std::string screenName(UIViewController* controller) {
    UIViewController* shown = shownScreen(controller);
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

std::string writeSnapshot(UIViewController* controller, const std::string& path) {
    std::string error;
    if (renderScreenPNG(controller, path, &error)) return "";
    return "No picture taken: " + error + ".";
}

void addSnapshotCommand() {
    addSessionCommand(
        "snapshot", {"snapshot FILE.png", "write a picture of the screen (PNG)", snapshot, false});
}
