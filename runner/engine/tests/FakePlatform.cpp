#include "FakePlatform.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace runner {

namespace {

// Code page 1252: a-z and the accented small letters.
unsigned char Upper1252(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ? c - 0x20 : c;
}

// Valid 8.3 as NTFS judges it: no alias is made for such a name.
bool IsValid83(std::string_view name) {
    size_t dot = name.find('.');
    std::string_view base = name.substr(0, dot);
    std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    return !base.empty() && base.size() <= 8 && ext.size() <= 3 && ext.find('.') == std::string_view::npos &&
           name.find_first_of(" +,;=[]") == std::string_view::npos;
}

void Detach(const std::shared_ptr<FakeNode>& node) {
    auto& siblings = node->parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
}

class FakeFile : public PlatformFile {
public:
    FakeFile(std::shared_ptr<FakeNode> file, bool writer) : node(std::move(file)), writer(writer) { ++Count(); }
    ~FakeFile() override { --Count(); }

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
    bool SeekToEnd() override { return (position = node->content.size()), true; }
    bool Truncate() override { return node->content.clear(), (position = 0), true; }
    uint64_t Size() override { return node->content.size(); }

private:
    int& Count() { return writer ? node->writers : node->readers; }
    std::shared_ptr<FakeNode> node;
    bool writer;
    size_t position = 0;
};

}  // namespace

FakePlatform::FakePlatform(std::string cwdPath, int codePage)
    : codePage(codePage), cwd(std::move(cwdPath)), root(std::make_shared<FakeNode>()) {
    root->attributes = text::AttributeDirectory;
    std::string path;
    for (const std::string& part : Split(cwd)) {
        if (!Has(path += part)) AddDirectory(path);
        path += '\\';
    }
}

std::vector<std::string> FakePlatform::Split(std::string_view path) const {
    std::vector<std::string> parts;
    while (!path.empty()) {
        size_t slash = std::min(text::FindFirstChar(path, "\\/", *this), path.size());  // "/" as "\"
        std::string part(path.substr(0, slash));
        // Windows drops trailing dots and spaces of a name: "REPORT." is REPORT.
        if (part != "." && part != "..")
            while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
        if (!part.empty()) parts.push_back(std::move(part));  // doubled separators count once
        path.remove_prefix(std::min(slash + 1, path.size()));
    }
    return parts;
}

unsigned char FakePlatform::Upper(std::string_view text, size_t at) const {
    unsigned char c = static_cast<unsigned char>(text[at]);
    if (codePage != 932) return Upper1252(c);
    return c >= 'a' && c <= 'z' ? c - 0x20 : c;
}

bool FakePlatform::MatchesWildcard(std::string_view pattern, std::string_view name) const {
    // By character; a "*" goes back to its last place when the rest fails.
    auto length = [this](std::string_view text, size_t at) -> size_t {
        return IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    };
    auto same = [&](size_t p, size_t n) {
        if (pattern[p] == '?') return true;
        size_t size = length(pattern, p);
        if (size != length(name, n)) return false;
        return size == 2 ? pattern.substr(p, 2) == name.substr(n, 2) : Upper(pattern, p) == Upper(name, n);
    };
    size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = ++p;
            resume = n;
        } else if (p < pattern.size() && same(p, n)) {
            p += length(pattern, p);
            n += length(name, n);
        } else if (star != std::string_view::npos) {
            p = star;
            n = resume += length(name, resume);
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string FakePlatform::FreeAlias(const FakeNode* directory, const FakeNode* renamed, std::string_view name) {
    if (IsValid83(name)) return {};
    // Upper case, without spaces and the characters 8.3 names lack; the
    // base cut to six bytes, the extension (after the last dot) to three.
    std::string clean;
    for (char c : UpperCase(name))
        if (std::string_view(" +,;=[]").find(c) == std::string_view::npos) clean += c;
    size_t dot = text::FindLastChar(clean, ".", *this);
    std::string base, ext = dot == std::string::npos ? "" : clean.substr(dot + 1);
    for (char c : clean.substr(0, dot))
        if (c != '.') base += c;
    auto cut = [this](const std::string& text, size_t most) {  // never inside a character
        size_t end = 0;
        for (size_t i = 0; i < text.size();) {
            size_t size = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
            if (i + size > most) break;
            end = i += size;
        }
        return text.substr(0, end);
    };
    ext = cut(ext, 3);
    for (int n = 1;; ++n) {
        std::string number(1, '~');
        number += std::to_string(n);
        std::string alias = cut(base, 8 - number.size()) + number + (ext.empty() ? "" : "." + ext);
        bool taken = false;
        for (auto& child : directory->children)
            if (child.get() != renamed &&
                (CompareNoCase(child->name, alias) == 0 || CompareNoCase(child->alias, alias) == 0))
                taken = true;
        if (!taken) return alias;
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

std::string FakePlatform::FullPath(std::string_view path) {
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    if (!parent) return std::string(path);
    std::shared_ptr<FakeNode> node = Child(parent, leaf);
    std::string full = node ? node->name : leaf;
    for (const FakeNode* n = parent; n != root.get(); n = n->parent) full.insert(0, n->name + "\\");
    return full;
}

bool FakePlatform::Enumerate(std::string_view pattern, const std::function<void(const FoundEntry&)>& each) {
    std::string leaf;
    FakeNode* directory = Parent(pattern, leaf);
    if (!directory) return false;
    std::vector<FoundEntry> found;
    // Like FindFirstFileA, a directory other than a drive root lists "." and "..".
    if (directory->parent && directory->parent != root.get())
        for (const char* dots : {".", ".."})
            if (MatchesWildcard(leaf, dots)) found.push_back({text::AttributeDirectory, dots, {}});
    for (auto& child : directory->children)
        if (MatchesWildcard(leaf, child->name) || (!child->alias.empty() && MatchesWildcard(leaf, child->alias)))
            // A "?" stands where Windows could not give a character in the code page.
            found.push_back({child->attributes, child->name, child->alias, child->name.find('?') == std::string::npos});
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
    // As GetShortPathNameA: a relative path gives a relative one.
    if (path.size() < 2 || path[1] != ':') {
        const bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/');
        std::string base;
        if (!rooted && !ShortPath(cwd, base)) return false;
        shortPath.erase(0, rooted ? 2 : base.size() + 1);
    }
    return true;
}

bool FakePlatform::RemoveFile(std::string_view path) {
    ++fileOperations;
    std::shared_ptr<FakeNode> node = Node(path);
    if (!node || node->IsDirectory() || node->failDelete || (node->attributes & text::AttributeReadOnly) ||
        node->writers || node->readers)
        return false;
    Detach(node);
    return true;
}

bool FakePlatform::MakeDirectory(std::string_view path) {
    ++fileOperations;
    std::string leaf;
    FakeNode* parent = Parent(path, leaf);
    return !failMakeDirectory && parent && !Child(parent, leaf) && (AddDirectory(path), true);
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
    node->alias = FreeAlias(toParent, node.get(), toLeaf);
    return true;
}

bool FakePlatform::MakeHardLink(std::string_view existing, std::string_view link) {
    ++fileOperations;
    FakeNode* file = Find(existing);
    if (noHardLinks || !file || file->IsDirectory() || Has(link)) return false;
    FakeNode* target = file->linkOf ? file->linkOf : file;
    FakeNode& made = AddFile(link, target->content, {}, target->attributes);
    made.linkOf = target;
    return true;
}

bool FakePlatform::SetAttributes(std::string_view path, uint32_t attributes) {
    FakeNode* node = Find(path);
    if (!node) return false;
    // One file, one set of attributes, whichever of its names is given.
    FakeNode* file = node->linkOf ? node->linkOf : node;
    file->attributes = attributes;
    for (FakeNode* n : {node, file})
        if (n->parent)
            for (auto& child : n->parent->children)
                if (child->linkOf == file) child->attributes = attributes;
    return true;
}

bool FakePlatform::SameFile(std::string_view a, std::string_view b) {
    FakeNode *x = Find(a), *y = Find(b);
    return x && y && (x->linkOf ? x->linkOf : x) == (y->linkOf ? y->linkOf : y);
}

std::string FakePlatform::JournalPath() {
    if (journalPath.empty()) return {};
    const std::string directory = journalPath.substr(0, journalPath.rfind('\\'));
    if (!Has(directory)) AddDirectory(directory);
    return journalPath;
}

std::unique_ptr<PlatformFile> FakePlatform::Open(std::string_view path, bool writer, bool sharingWriters) {
    fileOperations += !sharingWriters;  // a read beside writers changes nothing and holds nothing up
    std::shared_ptr<FakeNode> node = Node(path);
    if (!node || node->IsDirectory() || (writer && (node->attributes & text::AttributeReadOnly)) ||
        (node->writers && !sharingWriters) || node->readers)
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

// Of code page 1252 to 850 and back, the letters the tests use; 850 has no euro sign.
bool FakePlatform::ConvertToOem(std::string_view text, std::string& oem) {
    oem = text;
    for (char& c : oem) c = c == '\xE9' ? '\x82' : c == '\xC9' ? '\x90' : c;
    return text.find('\x80') == std::string_view::npos;
}
std::string FakePlatform::FromOem(std::string_view bytes) {
    std::string text(bytes);
    for (char& c : text) c = c == '\x82' ? '\xE9' : c == '\x90' ? '\xC9' : c;
    return text;
}

std::string FakePlatform::UpperCase(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(out[i])) && i + 1 < out.size())
            ++i;  // a double-byte character keeps its case
        else
            out[i] = static_cast<char>(Upper(out, i));
    }
    return out;
}

int FakePlatform::CompareNoCase(std::string_view a, std::string_view b) {
    // As UpperCase on both, byte by byte: a double-byte character keeps its case.
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const bool lead = IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size();
        const unsigned char x = Upper(a, i), y = Upper(b, i);
        if (x != y) return x < y ? -1 : 1;
        if (!lead) continue;
        if (++i == b.size()) return 1;
        if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool FakePlatform::WaitForCommand(CommandEnd& end) {
    if (running.empty()) return false;
    const size_t at = endingNext ? std::min(endingNext(running.size()), running.size() - 1) : 0;
    end.id = running[at].id;
    end.status = onCommand ? onCommand(running[at].commandLine) : 0;
    end.output.Append(std::exchange(printed, {}));
    end.outOfTime = std::exchange(outOfTime, false);
    // onCommand may have ended it; it leaves the running ones when it returns.
    if (running[at].ended || end.outOfTime) end.status = 1;  // the status of an ended command
    running.erase(running.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

}  // namespace runner
