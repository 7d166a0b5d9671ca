#include "host/InspectionCommands.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <fnmatch.h>
#include <link.h>
#include <vector>

#include "Foundation/DeviceRoot.h"
#include "host/HostSession.h"
#include "host/Loader.h"

namespace {

struct MethodLine {
    std::string name; // "-mediaCoord", "+postWithOwner:"
    std::string encoding;
    IMP implementation;
};

std::vector<Class> allClasses() {
    std::vector<Class> classes(objc_getClassList(nullptr, 0));
    classes.resize(objc_getClassList(classes.data(), static_cast<int>(classes.size())));
    return classes;
}

std::vector<MethodLine> methodsOf(Class cls, char sign) {
    unsigned int count = 0;
    Method* methods = class_copyMethodList(cls, &count);
    std::vector<MethodLine> lines;
    for (unsigned int i = 0; i < count; ++i) {
        const char* encoding = method_getTypeEncoding(methods[i]);
        lines.push_back({sign + std::string(sel_getName(method_getName(methods[i]))),
                         encoding ? encoding : "", method_getImplementation(methods[i])});
    }
    free(methods);
    std::sort(lines.begin(), lines.end(),
              [](const MethodLine& a, const MethodLine& b) { return a.name < b.name; });
    return lines;
}

// Instance methods, then class methods (those of the metaclass).
std::vector<MethodLine> everyMethodOf(Class cls) {
    std::vector<MethodLine> lines = methodsOf(cls, '-');
    std::vector<MethodLine> classMethods =
        methodsOf(object_getClass(reinterpret_cast<id>(cls)), '+');
    lines.insert(lines.end(), classMethods.begin(), classMethods.end());
    return lines;
}

link_map* mapOf(IMP implementation) {
    Dl_info info{};
    link_map* map = nullptr;
    if (!dladdr1(reinterpret_cast<void*>(implementation), &info, reinterpret_cast<void**>(&map),
                 RTLD_DL_LINKMAP))
        return nullptr;
    return map;
}

bool matches(const std::string& name, const std::string& pattern) {
    if (pattern.find_first_of("*?[") == std::string::npos)
        return name.find(pattern) != std::string::npos;
    return fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

std::string padded(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

void printMethods(std::ostream& out, const char* heading, const std::vector<MethodLine>& lines,
                  char sign) {
    std::size_t nameWidth = 0, encodingWidth = 0;
    for (const MethodLine& line : lines) {
        nameWidth = std::max(nameWidth, line.name.size());
        encodingWidth = std::max(encodingWidth, line.encoding.size());
    }
    std::size_t shown = std::count_if(lines.begin(), lines.end(),
                                      [sign](const MethodLine& l) { return l.name[0] == sign; });
    out << heading << " (" << shown << "):\n";
    for (const MethodLine& line : lines)
        if (line.name[0] == sign)
            out << "  " << padded(line.name, nameWidth) << "  "
                << padded(line.encoding, encodingWidth) << "  "
                << implementationFile(line.implementation)
                << (isInjected(line.implementation) ? "  [injected]" : "") << "\n";
}

std::string classes(HostSession& session, const SessionArguments& args) {
    std::vector<std::string> names;
    for (Class cls : allClasses())
        if (args.empty() || matches(class_getName(cls), args[0]))
            names.push_back(class_getName(cls));
    if (names.empty()) return "No class matches \"" + args[0] + "\".";
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        session.out() << "  " << name << "\n";
    session.out() << names.size() << (names.size() == 1 ? " class\n" : " classes\n");
    return "";
}

std::string methods(HostSession& session, const SessionArguments& args) {
    Class cls = objc_getClass(args[0].c_str());
    if (!cls) return "There is no class " + args[0] + " in this process; \"classes\" lists them.";
    Class superclass = class_getSuperclass(cls);
    session.out() << class_getName(cls)
                  << (superclass ? std::string(" : ") + class_getName(superclass) : "") << "\n";
    std::vector<MethodLine> lines = everyMethodOf(cls);
    printMethods(session.out(), "Instance methods", lines, '-');
    printMethods(session.out(), "Class methods", lines, '+');
    return "";
}

std::string hooks(HostSession& session, const SessionArguments&) {
    std::vector<std::string> found;
    for (Class cls : allClasses())
        for (const MethodLine& line : everyMethodOf(cls))
            if (isInjected(line.implementation))
                found.push_back(line.name.substr(0, 1) + "[" + class_getName(cls) + " " +
                                line.name.substr(1) + "]  " +
                                implementationFile(line.implementation));
    std::sort(found.begin(), found.end());
    session.out() << found.size() << (found.size() == 1 ? " method lives" : " methods live")
                  << " in injected libraries" << (found.empty() ? ".\n" : ":\n");
    for (const std::string& line : found)
        session.out() << "  " << line << "\n";
    return "";
}

} // namespace

std::string implementationFile(IMP implementation) {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(implementation), &info) || !info.dli_fname) return "?";
    std::string file = info.dli_fname;
    if (file.empty()) file = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string& root = deviceRoot();
    if (!root.empty() && file.starts_with(root + "/")) return file.substr(root.size());
    return std::filesystem::path(file).filename().string();
}

bool isInjected(IMP implementation) {
    link_map* map = mapOf(implementation);
    if (!map) return false;
    return std::any_of(injectedLibraries().begin(), injectedLibraries().end(),
                       [map](const LoadedLibrary& library) {
                           link_map* loaded = nullptr;
                           return dlinfo(library.handle, RTLD_DI_LINKMAP, &loaded) == 0 &&
                                  loaded == map;
                       });
}

SessionCommandTable inspectionCommands() {
    return {
        {"classes", "classes [PATTERN]", "list runtime classes (IG, *Cell ...)", classes, false, 0,
         1},
        {"methods", "methods CLASS", "a class's methods, encodings and where each lives", methods,
         false, 1, 1},
        {"hooks", "hooks", "methods that injected libraries replaced or added", hooks, false, 0, 0},
    };
}
