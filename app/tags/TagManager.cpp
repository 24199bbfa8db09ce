#include "app/tags/TagManager.h"

#include "app/files/AtomicFile.h"
#include "app/files/EmbeddedStore.h"
#include "app/model/SettingsYaml.h"
#include "app/services/GlobalService.h"
#include "app/tags/TagParseAhead.h"
#include "app/tags/TagReader.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdlib>

namespace {
// Far beyond any tag file; a FIFO or a device in the tag directory is refused too.
constexpr std::size_t kMaxTagFileBytes = 16 << 20;

// The process-wide manager, or the wiring error reported for `use`.
CTagManager* Manager(const char* use) {
    return RequireService(gTagManager, "tag manager", use);
}

// Pops the path being loaded on every way out of a load.
class LoadingGuard {
public:
    LoadingGuard(std::vector<std::string>& stack, const std::string& path) : stack_(stack) {
        stack_.push_back(path);
    }
    ~LoadingGuard() { stack_.pop_back(); }

private:
    std::vector<std::string>& stack_;
};

std::string SourceName(const Tag& tag) {
    return tag.fullPath.empty() ? tag.path : tag.fullPath;
}
} // namespace

bool IsTagDocument(const std::string& path) {
    const std::string tail = "yml";
    return path.size() >= tail.size() &&
           path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
}

std::string ReadTagSource(const std::string& path, const std::string& fullPath,
                          std::string& problem) {
    std::string text;
    std::error_code error;
    if (fullPath.empty()) {
        text = ReadResourceText(path);
    } else if (!ReadRegularFile(fullPath, kMaxTagFileBytes, text, error) &&
               error != std::errc::no_such_file_or_directory) {
        problem = "the tag file cannot be read: " + error.message();
        return {};
    }
    if (text.empty() && (fullPath.empty() || error)) {
        problem = "the tag file is missing or empty";
    }
    return text;
}

std::string TagType(const std::string& path) {
    const std::size_t first = path.find('.');
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t second = path.find('.', first + 1);
    return path.substr(first + 1,
                       second == std::string::npos ? std::string::npos : second - first - 1);
}

Tag* CTagManager::GetTag(TagHandle handle) const {
    if (handle < 0 || static_cast<std::size_t>(handle) >= std::max<std::size_t>(tags.size(), 1)) {
        throw std::out_of_range("tag handle " + std::to_string(handle) + " is not registered");
    }
    return handle == 0 ? nullptr : tags[handle].get();
}

TagHandle CTagManager::FindTag(const std::string& path) const {
    for (std::size_t i = 1; i < tags.size(); ++i) {
        if (tags[i] && tags[i]->path == path) {
            return static_cast<TagHandle>(i);
        }
    }
    return 0;
}

TagHandle CTagManager::RegisterTag(std::unique_ptr<Tag> tag) {
    const TagHandle existing = FindTag(tag->path);
    if (existing > 0) {
        tag->handle = existing;
        tags[existing] = std::move(tag); // the predecessor is destroyed here
        return existing;
    }
    if (tags.empty()) {
        tags.emplace_back();
    }
    tag->handle = static_cast<TagHandle>(tags.size());
    tags.push_back(std::move(tag));
    return static_cast<TagHandle>(tags.size() - 1);
}

TagHandle CTagManager::LoadTag(const std::string& path) {
    const TagHandle handle = LoadTagAt(path, false);
    tags[handle]->OnLoaded();
    return handle;
}

TagHandle CTagManager::ResolveRef(const std::string& path) {
    return LoadTagAt(path, refreshing);
}

void CTagManager::RefreshTag(TagHandle handle) {
    Tag* tag = GetTag(handle);
    if (!tag) {
        return;
    }
    const std::string path = tag->path;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{refreshing};
    refreshing = true;
    const TagHandle refreshed = LoadTagAt(path, true);
    tags[refreshed]->OnLoaded();
}

TagHandle CTagManager::LoadTagAt(const std::string& path, bool force) {
    if (!force) {
        if (const TagHandle existing = FindTag(path); existing > 0) {
            return existing;
        }
    }
    if (std::find(loading.begin(), loading.end(), path) != loading.end()) {
        throw TagError(path, 0, 0, "reference cycle: the tag refers back to itself", {path});
    }
    std::unique_ptr<Tag> tag;
    {
        LoadingGuard guard(loading, path);
        tag = ReadTag(path);
    }
    return RegisterTag(std::move(tag));
}

std::unique_ptr<Tag> CTagManager::ReadTag(const std::string& path) {
    const std::string type = TagType(path);
    if (type.empty()) {
        throw TagError(path, 0, 0, "the path has no type extension", {path});
    }
    std::unique_ptr<Tag> tag(CreateTag(type));
    if (!tag) {
        throw TagError(path, 0, 0, "unrecognized tag type '" + type + "'", {path});
    }
    tag->type = type;
    tag->path = path;
    tag->fullPath = tagDirectory.empty() ? std::string() : tagDirectory + path;
    LoadDocument(*tag);
    return tag;
}

// The YAML of a tag file: parsed ahead on the picture worker during the first load, else
// read and parsed here. Throws what parsing throws; `problem` says why there is no text.
YAML::Node CTagManager::ParseDocument(const Tag& tag, std::string& problem) const {
    CTagParseAhead* ahead = refreshing ? nullptr : CTagParseAhead::Current();
    if (std::optional<CTagParseAhead::Parsed> parsed =
            ahead ? ahead->Take(tag.path) : std::nullopt) {
        problem = parsed->problem;
        if (parsed->error) {
            std::rethrow_exception(parsed->error);
        }
        return parsed->document;
    }
    return YAML::Load(ReadTagSource(tag.path, tag.fullPath, problem));
}

void CTagManager::LoadDocument(Tag& tag) {
    const bool media = !IsTagDocument(tag.path); // the class reads its own file
    std::string problem;
    const std::string name = SourceName(tag);
    try {
        const YAML::Node document = media ? YAML::Node() : ParseDocument(tag, problem);
        // A key written twice would silently lose its second line.
        if (const std::optional<RepeatedKey> repeated = FirstRepeatedKey(document)) {
            throw TagValueError(repeated->Text(), repeated->secondLine, repeated->secondColumn);
        }
        tag.Load(document);
    } catch (const TagError& error) {
        throw error.ReferredFrom(tag.path); // a tag this one refers to failed
    } catch (const TagValueError& error) {
        const std::string note = problem.empty() ? "" : " (" + problem + ")";
        throw TagError(name, error.line, error.column, error.what() + note, {tag.path});
    } catch (const YAML::Exception& error) {
        const int line = error.mark.is_null() ? 0 : error.mark.line + 1;
        const int column = error.mark.is_null() ? 0 : error.mark.column + 1;
        throw TagError(name, line, column, error.msg, {tag.path});
    }
}

CTagManager* gTagManager = nullptr;

void InitTags(const std::string& directory) {
    if (CTagManager* manager = Manager("setting the tag directory")) {
        manager->SetTagDirectory(directory);
    }
}

TagHandle LoadTag(const std::string& path) {
    CTagManager* manager = Manager("loading a tag");
    if (!manager) {
        throw TagError(path, 0, 0, "there is no tag manager to load it", {path});
    }
    return manager->LoadTag(path);
}

Tag* GetTag(TagHandle handle) {
    CTagManager* manager = Manager("looking up a tag");
    return manager ? manager->GetTag(handle) : nullptr;
}

void RefreshTag(TagHandle handle) {
    if (CTagManager* manager = Manager("refreshing a tag")) {
        manager->RefreshTag(handle);
    }
}

TagHandle ResolveRef(const std::string& path) {
    CTagManager* manager = Manager("resolving a ref");
    if (!manager) {
        throw TagError(path, 0, 0, "there is no tag manager to load it", {path});
    }
    return manager->ResolveRef(path);
}

std::string TagDirectoryFromEnvironment() {
    const char* value = std::getenv("GAS_SEPARATOR_TAG_DIR");
    std::string directory = value ? value : "";
    // The directory is joined to each path as it is, so make sure it ends in a separator.
    if (!directory.empty() && directory.back() != '/') {
        directory += '/';
    }
    return directory;
}
