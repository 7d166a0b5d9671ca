#include "host/PreferencesCommand.h"

#include <ostream>

#include "ObjectModel/Message.h"
#include "UIKit/UIViewController.h"
#include "host/GalleryCommand.h"

namespace {

constexpr const char* kSpecifierListSymbol = "KLPSpecifierListMakeController";
using Report = void (*)(const char* line, void* context);
using MakeController = id (*)(const char* path, const char* language, Report report, void* context);

std::string& language() {
    static std::string chosen = "en";
    return chosen;
}

struct Lines {
    std::ostream& warnings;
    std::string last;
};

void collect(const char* line, void* context) {
    auto* lines = static_cast<Lines*>(context);
    if (!lines->last.empty()) lines->warnings << "open-preferences: " << lines->last << "\n";
    lines->last = line;
}

std::string command(HostSession& session, const SessionArguments& args) {
    return openPreferences(session, args.at(0));
}

} // namespace

std::string openPreferences(HostSession& session, const std::string& path) {
    Result<void*> symbol = galleryModuleSymbol(kSpecifierListSymbol);
    if (!symbol) return symbol.problem();
    auto make = reinterpret_cast<MakeController>(*symbol);
    Lines lines{session.errors(), {}};
    Ref<NSObject> made = Ref<NSObject>::adopt(
        static_cast<NSObject*>(make(path.c_str(), language().c_str(), collect, &lines)));
    auto* screen = as<UIViewController>(made);
    if (!screen) return lines.last; // the reason, reported last
    if (!lines.last.empty()) collect("", &lines);
    session.navigation()->pushViewController(screen, true);
    return "";
}

void setPreferencesLanguage(const std::string& chosen) {
    language() = chosen;
}

SessionCommandTable preferencesCommands() {
    return {{.name = "open-preferences",
             .usage = "open-preferences FILE.plist",
             .help = "show the preferences screen a specifier list declares",
             .run = command,
             .minWords = 1,
             .maxWords = 1}};
}
