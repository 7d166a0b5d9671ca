#include "UIKit/PictureFile.h"

#include "UIKit/PNGEncoder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

std::string kindOf(mode_t mode) {
    if (S_ISLNK(mode)) return "a symbolic link";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISSOCK(mode)) return "a socket";
    return "a device";
}

std::string folderProblem(const std::string& folder, int error) {
    if (error == ENOENT)
        return "the folder " + folder + " does not exist; create it or choose another path";
    if (error == ENOTDIR) return "part of the folder path is not a folder; check the path";
    if (error == EACCES) return "permission denied; choose a folder you can write to";
    return "the folder " + folder + " cannot be opened: " + std::strerror(error);
}

std::string createProblem(const std::string& folder, int error) {
    if (error == EACCES || error == EPERM)
        return "permission denied; choose a folder you can write to";
    if (error == EROFS) return "the folder " + folder + " is on a read-only file system";
    if (error == ENOSPC || error == EDQUOT) return "the disk is full";
    return "the folder " + folder + " takes no new files (" + std::strerror(error) + ")";
}

bool endsWithPng(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    return extension.size() == 4 && strncasecmp(extension.c_str(), ".png", 4) == 0;
}

// The problem with what is at the name now, if anything is in the way.
std::string targetProblem(int folder, const std::string& name, const std::string& path) {
    struct stat info {};
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return "";
    if (S_ISREG(info.st_mode)) return "";
    return path + " is " + kindOf(info.st_mode) + ", not a picture file; it is left alone";
}

// A new file of a fresh name in the folder, opened exclusively.
int createTemporary(int folder, const std::string& name, std::string* temporary) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporary = "." + name + "." + std::to_string(random() % 1000000) + ".tmp";
        int fd = ::openat(folder, temporary->c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool writeToDescriptor(void* closure, const unsigned char* data, std::size_t length) {
    int fd = *static_cast<int*>(closure);
    while (length > 0) {
        ssize_t written = ::write(fd, data, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

// Writes the PNG into the new file; answers errno, or EIO for a failed encoding.
int writePNG(cairo_surface_t* surface, int fd) {
    errno = 0;
    if (!encodePNG(surface, writeToDescriptor, &fd)) return errno ? errno : EIO;
    return ::fsync(fd) == 0 ? 0 : errno;
}

uint32_t pixel(cairo_surface_t* surface, int x, int y) {
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const uint32_t*>(row)[x];
}

std::string sizeOf(cairo_surface_t* surface) {
    return std::to_string(cairo_image_surface_get_width(surface)) + "x" +
           std::to_string(cairo_image_surface_get_height(surface));
}

} // namespace

Result<void> writePictureFile(cairo_surface_t* surface, const std::string& path) {
    std::string where = "cannot write the picture to " + path + ": ";
    std::filesystem::path target(path);
    std::string folderName = target.has_parent_path() ? target.parent_path().string() : ".";
    std::string name = target.filename().string();
    if (!endsWithPng(path))
        return Problem{where +
                       "the name must end in .png (pictures are written as PNG); give FILE.png"};
    Descriptor folder{::open(folderName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (folder.fd < 0) return Problem{where + folderProblem(folderName, errno)};
    if (std::string problem = targetProblem(folder.fd, name, path); !problem.empty())
        return Problem{where + problem};
    std::string temporary;
    Descriptor file{createTemporary(folder.fd, name, &temporary)};
    if (file.fd < 0) return Problem{where + createProblem(folderName, errno)};
    int failure = writePNG(surface, file.fd);
    std::string problem =
        failure ? createProblem(folderName, failure) : targetProblem(folder.fd, name, path);
    if (problem.empty() && ::renameat(folder.fd, temporary.c_str(), folder.fd, name.c_str()) != 0)
        problem = createProblem(folderName, errno);
    if (problem.empty()) return {};
    ::unlinkat(folder.fd, temporary.c_str(), 0);
    return Problem{where + problem};
}

bool pixelsClose(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 32; shift += 8) {
        int da = static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff);
        if (std::abs(da) > kPictureChannelTolerance) return false;
    }
    return true;
}

cairo_surface_t* differencePicture(cairo_surface_t* actual, cairo_surface_t* expected,
                                   long* differing) {
    cairo_surface_flush(actual);
    cairo_surface_flush(expected);
    int width = cairo_image_surface_get_width(actual);
    int height = cairo_image_surface_get_height(actual);
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(out);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_surface(cr, actual, 0, 0);
    cairo_paint_with_alpha(cr, 0.25);
    cairo_destroy(cr);
    cairo_surface_flush(out);
    *differing = 0;
    unsigned char* data = cairo_image_surface_get_data(out);
    int stride = cairo_image_surface_get_stride(out);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!pixelsClose(pixel(actual, x, y), pixel(expected, x, y))) {
                reinterpret_cast<uint32_t*>(data + y * stride)[x] = 0xffff0000;
                ++*differing;
            }
    cairo_surface_mark_dirty(out);
    return out;
}

PictureComparison comparePictureWithFile(cairo_surface_t* actual,
                                         const std::string& referencePath) {
    struct stat info {};
    if (::stat(referencePath.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {false, "the reference " + referencePath + " is no picture file"};
    cairo_surface_t* expected = cairo_image_surface_create_from_png(referencePath.c_str());
    PictureComparison result;
    if (cairo_surface_status(expected) != CAIRO_STATUS_SUCCESS) {
        result.problem = "the reference " + referencePath + " cannot be read as a PNG picture";
    } else if (sizeOf(expected) != sizeOf(actual)) {
        result.problem = "the picture is " + sizeOf(actual) + " pixels, the reference " +
                         referencePath + " " + sizeOf(expected);
    } else {
        long differing = 0;
        result.difference = differencePicture(actual, expected, &differing);
        long pixels = static_cast<long>(cairo_image_surface_get_width(actual)) *
                      cairo_image_surface_get_height(actual);
        result.same = differing <= static_cast<long>(kPictureShareTolerance * pixels);
        if (!result.same)
            result.problem = std::to_string(differing) + " of " + std::to_string(pixels) +
                             " pixels differ from " + referencePath;
    }
    cairo_surface_destroy(expected);
    return result;
}
