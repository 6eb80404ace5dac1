#include "FakePlatform.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace lorvan {

namespace {

unsigned char Upper(unsigned char c)
{
    // Code page 1252: a-z and the accented small letters.
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    return c;
}

std::vector<std::string> Split(std::string_view path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find_first_of("\\/", start);  // "/" separates as "\\" does
        if (slash == std::string_view::npos)
            slash = path.size();
        if (slash > start)  // doubled separators count once
            parts.emplace_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

class FakeFile : public PlatformFile {
public:
    FakeFile(std::shared_ptr<FakeNode> node, bool writer) : node(std::move(node)), writer(writer)
    {
        (writer ? this->node->writers : this->node->readers)++;
    }
    ~FakeFile() override { (writer ? node->writers : node->readers)--; }

    bool Write(const void* bytes, size_t count) override
    {
        if (!writer || node->failWrite)
            return false;
        std::string& c = node->content;
        if (c.size() < position + count)
            c.resize(position + count);
        std::memcpy(c.data() + position, bytes, count);
        position += count;
        return true;
    }
    bool Read(void* bytes, size_t count, size_t& got) override
    {
        got = position < node->content.size() ? std::min(count, node->content.size() - position) : 0;
        std::memcpy(bytes, node->content.data() + position, got);
        position += got;
        return true;
    }
    bool SeekToEnd() override
    {
        position = node->content.size();
        return true;
    }
    bool Truncate() override
    {
        position = 0;
        node->content.clear();
        return true;
    }
    uint64_t Size() override { return node->content.size(); }

private:
    std::shared_ptr<FakeNode> node;
    bool writer;
    size_t position = 0;
};

}  // namespace

FakePlatform::FakePlatform(std::string cwdPath) : cwd(std::move(cwdPath)), root(std::make_shared<FakeNode>())
{
    root->attributes = AttributeDirectory;
    std::string path;
    for (const std::string& part : Split(cwd)) {
        path += part;
        if (!Find(path))
            AddDirectory(path);
        path += '\\';
    }
}

bool FakePlatform::MatchesWildcard(std::string_view pattern, std::string_view name)
{
    // "*.*" and "*." in the DOS manner: a trailing ".*" also matches a name
    // without an extension.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos &&
        MatchesWildcard(pattern.substr(0, pattern.size() - 2), name))
        return true;
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Upper(pattern[p]) == Upper(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::shared_ptr<FakeNode> FakePlatform::Child(FakeNode& directory, std::string_view name)
{
    for (auto& child : directory.children) {
        if (CompareNoCase(child->name, name) == 0 ||
            (!child->alias.empty() && CompareNoCase(child->alias, name) == 0))
            return child;
    }
    return nullptr;
}

FakeNode* FakePlatform::Parent(std::string_view path, std::string& leaf)
{
    std::vector<std::string> parts;
    const bool absolute = path.find(':') != std::string_view::npos;
    if (!absolute) {
        // "\X" (or "/X") means the root of the working directory's drive.
        const bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/');
        parts = Split(rooted ? std::string_view(cwd).substr(0, 2) : cwd);
    }
    for (std::string& part : Split(path)) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (parts.size() > 1)
                parts.pop_back();
            continue;
        }
        parts.push_back(std::move(part));
    }
    if (parts.empty())
        return nullptr;
    leaf = parts.back();
    parts.pop_back();
    FakeNode* node = root.get();
    for (const std::string& part : parts) {
        std::shared_ptr<FakeNode> child = Child(*node, part);
        if (!child || !child->IsDirectory())
            return nullptr;
        node = child.get();
    }
    return node;
}

FakeNode* FakePlatform::Find(std::string_view path)
{
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    if (!parent)
        return nullptr;
    return Child(*parent, leaf).get();
}

FakeNode& FakePlatform::Add(std::string_view path, std::string_view alias, uint32_t attributes)
{
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    if (!parent)
        throw std::runtime_error("FakePlatform: no directory for " + std::string(path));
    auto node = std::make_shared<FakeNode>();
    node->name = leaf;
    node->alias = alias;
    node->attributes = attributes;
    node->parent = parent;
    parent->children.push_back(node);
    return *node;
}

FakeNode& FakePlatform::AddFile(std::string_view path, std::string_view content,
                                std::string_view alias, uint32_t attributes)
{
    FakeNode& node = Add(path, alias, attributes & ~AttributeDirectory);
    node.content = content;
    return node;
}

FakeNode& FakePlatform::AddDirectory(std::string_view path, std::string_view alias, uint32_t attributes)
{
    return Add(path, alias, attributes | AttributeDirectory);
}

std::string FakePlatform::Content(std::string_view path)
{
    FakeNode* node = Find(path);
    return node ? node->content : std::string();
}

std::vector<std::string> FakePlatform::Names(std::string_view directory)
{
    std::vector<std::string> names;
    if (FakeNode* node = Find(directory))
        for (auto& child : node->children)
            names.push_back(child->name);
    return names;
}

bool FakePlatform::Enumerate(std::string_view pattern,
                             const std::function<void(const FoundEntry&)>& each)
{
    std::string leaf;
    FakeNode* directory = Parent(pattern, leaf);
    if (!directory)
        return false;
    std::vector<FoundEntry> found;
    // Like FindFirstFileA, a directory other than a drive root lists "." and "..".
    if (directory->parent && directory->parent != root.get()) {
        for (const char* dots : {".", ".."})
            if (MatchesWildcard(leaf, dots))
                found.push_back({AttributeDirectory, dots, {}});
    }
    for (auto& child : directory->children) {
        if (MatchesWildcard(leaf, child->name) || (!child->alias.empty() && MatchesWildcard(leaf, child->alias)))
            found.push_back({child->attributes, child->name, child->alias});
    }
    for (const FoundEntry& entry : found)
        each(entry);
    return !found.empty();
}

bool FakePlatform::Exists(std::string_view path, uint32_t* attributes)
{
    FakeNode* node = Find(path);
    if (node && attributes)
        *attributes = node->attributes;
    return node != nullptr;
}

bool FakePlatform::ShortPath(std::string_view path, std::string& shortPath)
{
    FakeNode* node = Find(path);
    if (!node || node->failShortPath)
        return false;
    std::vector<const FakeNode*> chain;
    for (const FakeNode* n = node; n && n != root.get(); n = n->parent)
        chain.push_back(n);
    shortPath.clear();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!shortPath.empty())
            shortPath += '\\';
        shortPath += (*it)->alias.empty() ? (*it)->name : (*it)->alias;
    }
    if (chain.size() == 1)
        shortPath += '\\';  // "C:\"
    return true;
}

bool FakePlatform::RemoveFile(std::string_view path)
{
    ++fileOperations;
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    std::shared_ptr<FakeNode> node = parent ? Child(*parent, leaf) : nullptr;
    if (!node || node->IsDirectory() || node->failDelete || (node->attributes & AttributeReadOnly) ||
        node->writers || node->readers)
        return false;
    auto& siblings = parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    return true;
}

bool FakePlatform::MakeDirectory(std::string_view path)
{
    ++fileOperations;
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    if (failMakeDirectory || !parent || Child(*parent, leaf))
        return false;
    AddDirectory(path);
    return true;
}

bool FakePlatform::RenameFile(std::string_view from, std::string_view to)
{
    ++fileOperations;
    std::string fromLeaf, toLeaf;
    FakeNode* fromParent = Parent(from, fromLeaf);
    FakeNode* toParent = Parent(to, toLeaf);
    std::shared_ptr<FakeNode> node = fromParent ? Child(*fromParent, fromLeaf) : nullptr;
    if (!node || !toParent || node->failRename)
        return false;
    std::shared_ptr<FakeNode> existing = Child(*toParent, toLeaf);
    if (existing && existing != node)  // a change of letter case only is allowed
        return false;
    if (toParent != fromParent) {
        auto& siblings = fromParent->children;
        siblings.erase(std::find(siblings.begin(), siblings.end(), node));
        toParent->children.push_back(node);
        node->parent = toParent;
    }
    node->name = toLeaf;
    node->alias.clear();
    return true;
}

std::unique_ptr<PlatformFile> FakePlatform::OpenForWriting(std::string_view path)
{
    ++fileOperations;
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    std::shared_ptr<FakeNode> node = parent ? Child(*parent, leaf) : nullptr;
    if (!node || node->IsDirectory() || (node->attributes & AttributeReadOnly) || node->writers ||
        node->readers)
        return nullptr;
    return std::make_unique<FakeFile>(node, true);
}

std::unique_ptr<PlatformFile> FakePlatform::CreateForWriting(std::string_view path)
{
    ++fileOperations;
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    if (!parent || Child(*parent, leaf))
        return nullptr;
    AddFile(path);
    return std::make_unique<FakeFile>(Child(*parent, leaf), true);
}

std::unique_ptr<PlatformFile> FakePlatform::OpenForReading(std::string_view path)
{
    ++fileOperations;
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    std::shared_ptr<FakeNode> node = parent ? Child(*parent, leaf) : nullptr;
    if (!node || node->IsDirectory() || node->writers || node->readers)
        return nullptr;
    return std::make_unique<FakeFile>(node, false);
}

int FakePlatform::System(const std::string& commandLine)
{
    commands.push_back(commandLine);
    return onCommand ? onCommand(commandLine) : 0;
}

std::string FakePlatform::ConvertToOem(std::string_view text)
{
    // Enough of code page 1252 to 850 for the tests.
    static const std::map<unsigned char, unsigned char> oem = {
        {0xE9, 0x82}, {0xC9, 0x90}, {0xE8, 0x8A}, {0xFC, 0x81}, {0xDC, 0x9A}, {0xE4, 0x84}, {0xF6, 0x94},
    };
    std::string out(text);
    for (char& c : out) {
        auto it = oem.find(static_cast<unsigned char>(c));
        if (it != oem.end())
            c = static_cast<char>(it->second);
    }
    return out;
}

std::string FakePlatform::UpperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(Upper(static_cast<unsigned char>(c)));
    return out;
}

int FakePlatform::CompareNoCase(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = Upper(a[i]), y = Upper(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace lorvan
