#include "FakePlatform.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace lorvan {

namespace {

unsigned char Upper(unsigned char c) {
    // Code page 1252: a-z and the accented small letters.
    return (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ? c - 0x20 : c;
}

std::vector<std::string> Split(std::string_view path) {
    std::vector<std::string> parts;
    for (size_t start = 0; start <= path.size();) {
        size_t slash = std::min(path.find_first_of("\\/", start), path.size());  // "/" as "\\"
        if (slash > start)                                                       // doubled separators count once
            parts.emplace_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
    if (pattern.empty()) return name.empty();
    if (pattern[0] == '*')
        return MatchesWildcard(pattern.substr(1), name) || (!name.empty() && MatchesWildcard(pattern, name.substr(1)));
    return !name.empty() && (pattern[0] == '?' || Upper(pattern[0]) == Upper(name[0])) &&
           MatchesWildcard(pattern.substr(1), name.substr(1));
}

void Detach(const std::shared_ptr<FakeNode>& node) {
    auto& siblings = node->parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
}

class FakeFile : public PlatformFile {
public:
    FakeFile(std::shared_ptr<FakeNode> node, bool writer) : node(std::move(node)), writer(writer) {
        ++(writer ? this->node->writers : this->node->readers);
    }
    ~FakeFile() override { --(writer ? node->writers : node->readers); }

    bool Write(const void* bytes, size_t count) override {
        if (!writer || node->failWrite) return false;
        node->content.resize(std::max(node->content.size(), position + count));
        std::memcpy(node->content.data() + position, bytes, count);
        position += count;
        return true;
    }
    bool Read(void* bytes, size_t count, size_t& got) override {
        got = std::min(count, node->content.size() - position);
        std::memcpy(bytes, node->content.data() + position, got);
        position += got;
        return true;
    }
    bool SeekToEnd() override {
        position = node->content.size();
        return true;
    }
    bool Truncate() override {
        node->content.clear();
        position = 0;
        return true;
    }
    uint64_t Size() override { return node->content.size(); }

private:
    std::shared_ptr<FakeNode> node;
    bool writer;
    size_t position = 0;
};

}  // namespace

FakePlatform::FakePlatform(std::string cwdPath) : cwd(std::move(cwdPath)), root(std::make_shared<FakeNode>()) {
    root->attributes = AttributeDirectory;
    std::string path;
    for (const std::string& part : Split(cwd)) {
        if (!Has(path += part)) AddDirectory(path);
        path += '\\';
    }
}

std::shared_ptr<FakeNode> FakePlatform::Child(FakeNode* directory, std::string_view name) {
    if (directory)
        for (auto& child : directory->children)
            if (CompareNoCase(child->name, name) == 0 ||
                (!child->alias.empty() && CompareNoCase(child->alias, name) == 0))
                return child;
    return nullptr;
}

FakeNode* FakePlatform::Parent(std::string_view path, std::string& leaf) {
    std::vector<std::string> parts;
    if (path.find(':') == std::string_view::npos)  // "\X" (or "/X"): the root of the working directory's drive
        parts = Split(!path.empty() && (path[0] == '\\' || path[0] == '/') ? std::string_view(cwd).substr(0, 2) : cwd);
    for (std::string& part : Split(path)) {
        if (part == "..") {
            if (parts.size() > 1) parts.pop_back();
        } else if (part != ".") {
            parts.push_back(std::move(part));
        }
    }
    if (parts.empty()) return nullptr;
    leaf = parts.back();
    parts.pop_back();
    FakeNode* node = root.get();
    for (const std::string& part : parts) {
        std::shared_ptr<FakeNode> child = Child(node, part);
        if (!child || !child->IsDirectory()) return nullptr;
        node = child.get();
    }
    return node;
}

std::shared_ptr<FakeNode> FakePlatform::Node(std::string_view path) {
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    return Child(parent, leaf);
}

FakeNode& FakePlatform::AddFile(std::string_view path, std::string_view content, std::string_view alias,
                                uint32_t attributes) {
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    if (!parent) throw std::runtime_error("FakePlatform: no directory for " + std::string(path));
    parent->children.push_back(
        std::make_shared<FakeNode>(FakeNode{leaf, std::string(alias), attributes, std::string(content), parent}));
    return *parent->children.back();
}

std::vector<std::string> FakePlatform::Names(std::string_view directory) {
    std::vector<std::string> names;
    if (FakeNode* node = Find(directory))
        for (auto& child : node->children) names.push_back(child->name);
    return names;
}

bool FakePlatform::Enumerate(std::string_view pattern, const std::function<void(const FoundEntry&)>& each) {
    std::string leaf;
    FakeNode* directory = Parent(pattern, leaf);
    if (!directory) return false;
    std::vector<FoundEntry> found;
    // Like FindFirstFileA, a directory other than a drive root lists "." and "..".
    if (directory->parent && directory->parent != root.get())
        for (const char* dots : {".", ".."})
            if (MatchesWildcard(leaf, dots)) found.push_back({AttributeDirectory, dots, {}});
    for (auto& child : directory->children)
        if (MatchesWildcard(leaf, child->name) || (!child->alias.empty() && MatchesWildcard(leaf, child->alias)))
            found.push_back({child->attributes, child->name, child->alias});
    for (const FoundEntry& entry : found) each(entry);
    return !found.empty();
}

bool FakePlatform::ShortPath(std::string_view path, std::string& shortPath) {
    FakeNode* node = Find(path);
    if (!node || node->failShortPath) return false;
    shortPath.clear();
    for (const FakeNode* n = node; n != root.get(); n = n->parent)
        shortPath.insert(0, (n->alias.empty() ? n->name : n->alias) + (n == node ? "" : "\\"));
    if (node->parent == root.get()) shortPath += '\\';  // "C:\"
    return true;
}

bool FakePlatform::RemoveFile(std::string_view path) {
    ++fileOperations;
    std::shared_ptr<FakeNode> node = Node(path);
    if (!node || node->IsDirectory() || node->failDelete || (node->attributes & AttributeReadOnly) || node->writers ||
        node->readers)
        return false;
    Detach(node);
    return true;
}

bool FakePlatform::MakeDirectory(std::string_view path) {
    ++fileOperations;
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    if (failMakeDirectory || !parent || Child(parent, leaf)) return false;
    AddDirectory(path);
    return true;
}

bool FakePlatform::RenameFile(std::string_view from, std::string_view to) {
    ++fileOperations;
    std::string toLeaf;
    FakeNode* toParent = Parent(to, toLeaf);
    std::shared_ptr<FakeNode> node = Node(from);
    std::shared_ptr<FakeNode> existing = Child(toParent, toLeaf);
    if (!node || !toParent || (existing && existing != node))  // a change of letter case only is allowed
        return false;
    if (toParent != node->parent) {
        Detach(node);
        toParent->children.push_back(node);
        node->parent = toParent;
    }
    node->name = toLeaf;
    node->alias.clear();
    return true;
}

std::unique_ptr<PlatformFile> FakePlatform::Open(std::string_view path, bool writer) {
    ++fileOperations;
    std::shared_ptr<FakeNode> node = Node(path);
    if (!node || node->IsDirectory() || (writer && (node->attributes & AttributeReadOnly)) || node->writers ||
        node->readers)
        return nullptr;
    return std::make_unique<FakeFile>(node, writer);
}

std::unique_ptr<PlatformFile> FakePlatform::CreateForWriting(std::string_view path) {
    ++fileOperations;
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    if (!parent || Child(parent, leaf)) return nullptr;
    AddFile(path);
    return std::make_unique<FakeFile>(parent->children.back(), true);
}

std::string FakePlatform::ConvertToOem(std::string_view text) {
    // Of code page 1252 to 850, the letters the tests use.
    std::string out(text);
    for (char& c : out) c = c == '\xE9' ? '\x82' : c == '\xC9' ? '\x90' : c;
    return out;
}

std::string FakePlatform::UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(Upper(static_cast<unsigned char>(c)));
    return out;
}

int FakePlatform::CompareNoCase(std::string_view a, std::string_view b) {
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (Upper(a[i]) != Upper(b[i])) return Upper(a[i]) < Upper(b[i]) ? -1 : 1;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace lorvan
