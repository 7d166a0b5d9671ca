// A host session on a device root of its own, with or without the library,
// for pictures of its screens on a device in an appearance (in a child
// process: the screen is the process's).
#pragma once

#include <memory>

#include "host/FeedFile.h"
#include "host/HostProgram.h"
#include "host/HostSession.h"
#include "host/SnapshotCommand.h"
#include "tests/host/InjectedHost.h"
#include "tests/platform/UIKit/Support.h"

struct PictureHost {
    explicit PictureHost(bool inject, const char* device = "iPhone SE (3rd generation)",
                         long appearance = UIUserInterfaceStyleLight)
        : injected(inject) {
        UIScreen::mainScreen()->setDevice(*deviceNamed(device));
        UIScreen::mainScreen()->setUserInterfaceStyle(appearance);
        feed = *loadFeed(HOST_FEED);
        session = std::make_unique<HostSession>(feed, hostCommands({}), out);
    }

    // Runs the commands; answers what they printed.
    std::string run(std::initializer_list<std::string> commands) {
        out.str("");
        for (const std::string& command : commands)
            EXPECT_TRUE(session->run(command)) << command;
        return out.str();
    }

    SurfacePtr picture() {
        Result<SurfacePtr> surface = renderScreen(session->navigation());
        EXPECT_TRUE(surface) << surface.problem();
        return surface ? std::move(*surface) : nullptr;
    }

    ::testing::AssertionResult looksLike(const std::string& reference) {
        return snapshot::matchesReference(picture().get(), "tests/pictures/reference", reference);
    }

    InjectedHost injected;
    TestRoot& root = injected.root;
    std::ostringstream out;
    Ref<NSArray> feed;
    std::unique_ptr<HostSession> session;
};
