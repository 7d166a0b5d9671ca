// A host session in this process on a device root of its own, with the
// library loaded through the loader or without it, for pictures of its screens.
#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <sstream>

#include "../host/TestRoot.h"
#include "../render/Snapshot.h"
#include "Foundation/DeviceRoot.h"
#include "UIKit/UIRenderer.h"
#include "host/FeedFile.h"
#include "host/HostClasses.h"
#include "host/HostSession.h"
#include "host/SnapshotCommand.h"

inline constexpr const char* kPictureReferences = "tests/pictures/reference";

struct PictureHost {
    explicit PictureHost(bool inject) {
        if (inject) {
            root.inject("Tavelin.dylib", TAVELIN_DYLIB);
            std::filesystem::path bundle =
                root.path() + "/Library/Application Support/Tavelin/Tavelin.bundle";
            std::filesystem::create_directories(bundle.parent_path());
            std::filesystem::create_directory_symlink(STAGED_BUNDLE, bundle);
        }
        setDeviceRoot(root.path());
        registerHostClasses();
        std::ostringstream errors;
        if (inject) loadInjectedLibraries(root.path(), errors);
        EXPECT_EQ(errors.str(), "");
        addSnapshotCommand();
        feed = loadFeed(HOST_FEED);
        session = std::make_unique<HostSession>(feed, out);
    }

    // Runs the commands; answers what they printed.
    std::string run(std::initializer_list<std::string> commands) {
        out.str("");
        for (const std::string& command : commands)
            EXPECT_TRUE(session->run(command)) << command;
        return out.str();
    }

    SurfacePtr picture() {
        std::string error;
        SurfacePtr surface = renderScreen(session->navigation(), &error);
        EXPECT_TRUE(surface) << error;
        return surface;
    }

    ::testing::AssertionResult looksLike(const std::string& reference) {
        SurfacePtr surface = picture();
        return snapshot::matchesReference(surface.get(), kPictureReferences, reference);
    }

    TestRoot root;
    std::ostringstream out;
    Ref<NSArray> feed;
    std::unique_ptr<HostSession> session;
};
