#include "common/RtfDocument.h"

#include "common/RtfReader.h"
#include "common/RtfWriter.h"
#include "rtl/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zrn::common {

namespace {

std::string reason(int error) {
    return std::generic_category().message(error);
}

[[noreturn]] void failWrite(const std::string& fileName, const std::string& why) {
    throw Error("Cannot write the file \"" + fileName + "\": " + why);
}

// Closes the file and removes it unless the write went through to the end.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) {
        std::random_device random;
        for (int attempt = 0; attempt < 16 && !file_; ++attempt) {
            path_ = target + "." + std::to_string(random() % 1000000) + ".tmp";
            // "x": never take over a file that happens to have the same name.
            file_ = std::fopen(path_.c_str(), "wbx");
            if (!file_ && errno != EEXIST)
                break;
        }
        if (!file_)
            failWrite(target, reason(errno));
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (file_)
            std::fclose(file_);
        if (!kept_)
            std::remove(path_.c_str());
    }

    //! Writes all of `data` and makes it durable; the error number of a failure, else 0.
    int write(std::string_view data) {
        errno = 0;
        if (std::fwrite(data.data(), 1, data.size(), file_) != data.size() ||
            std::fflush(file_) != 0)
            return errno ? errno : EIO;
#ifdef _WIN32
        if (_commit(_fileno(file_)) != 0)
            return errno;
#else
        if (fsync(fileno(file_)) != 0)
            return errno;
#endif
        const int closed = std::fclose(file_);
        file_ = nullptr;
        return closed == 0 ? 0 : (errno ? errno : EIO);
    }

    const std::string& path() const {
        return path_;
    }
    void keep() {
        kept_ = true;
    }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    bool kept_ = false;
};

} // namespace

void SaveRtfDocument(const std::string& fileName, std::string_view text) {
    TemporaryFile temporary(fileName);
    if (const int error = temporary.write(TextToRtf(text)))
        failWrite(fileName, reason(error));
    std::error_code renamed;
    std::filesystem::rename(temporary.path(), fileName, renamed);
    if (renamed)
        failWrite(fileName, renamed.message());
    temporary.keep();
}

std::string LoadRtfDocumentText(const std::string& fileName) {
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file)
        throw Error("Cannot open the file \"" + fileName + "\": " + reason(errno));
    std::string content;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed)
        throw Error("Cannot read the file \"" + fileName + "\": " + reason(error));
    return RtfToText(content, fileName);
}

} // namespace zrn::common
