#include "platform/filewrite/AtomicFile.h"
#include "platform/iconwriter/IconWriter.h"

#include <algorithm>

namespace vesmarin::iconwriter {

using iconreader::IconFile;

namespace {

// The images of icon `index`'s group that are present, the most pixels first, then the deepest colour. A
// few only: a hostile group may list thousands of broken images.
std::vector<int> LargestFirst(const IconFile& file, int index) {
    const auto info = file.info(index);
    if (!info)
        return {};
    std::vector<int> order;
    for (std::size_t k = 0; k < info->images.size(); ++k)
        if (info->images[k].present)
            order.push_back(static_cast<int>(k));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto& x = info->images[static_cast<std::size_t>(a)];
        const auto& y = info->images[static_cast<std::size_t>(b)];
        const long long px = 1LL * x.width * x.height, py = 1LL * y.width * y.height;
        return px != py ? px > py : x.bitCount > y.bitCount;
    });
    if (order.size() > 8)
        order.resize(8);
    return order;
}

} // namespace

int largestImage(const IconFile& file, int index) {
    for (const int k : LargestFirst(file, index))
        if (file.storedImagePng(index, k) || file.imagePicture(index, k))
            return k;
    return -1;
}

std::optional<Bytes> imagePng(const IconFile& file, int index, int image) {
    if (auto stored = file.storedImagePng(index, image))
        return stored;
    const auto picture = file.imagePicture(index, image);
    if (!picture)
        return std::nullopt;
    Bytes bytes = encodePng(*picture);
    if (bytes.empty())
        return std::nullopt;
    return bytes;
}

namespace {

WriteOutcome Outcome(const filewrite::AtomicFile& file) {
    if (file.errorNumber() != 0)
        return {WriteOutcome::NotWritten, file.errorNumber()};
    return {};
}

} // namespace

WriteOutcome writeFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    filewrite::AtomicFile file(target);
    file.write(bytes);
    file.commit();
    return Outcome(file);
}

WriteOutcome writeImagePng(const IconFile& file, int index, int image, const std::filesystem::path& target) {
    // The largest image that can be read, when none is named.
    const std::vector<int> choices = image >= 0 ? std::vector<int>{image} : LargestFirst(file, index);
    for (const int k : choices)
        if (const auto bytes = imagePng(file, index, k))
            return writeFile(target, *bytes);
    return {WriteOutcome::Damaged};
}

WriteOutcome writeIco(const IconFile& file, int index, const std::filesystem::path& target) {
    iconreader::GroupProblem problem{};
    const auto group = file.storedGroup(index, &problem);
    if (!group)
        return {problem == iconreader::GroupProblem::TooLarge ? WriteOutcome::TooLarge
                                                              : WriteOutcome::Damaged};
    // Part by part: a large group is never copied whole.
    filewrite::AtomicFile out(target);
    encodeIco(*group, [&](std::span<const std::uint8_t> part) { out.write(part); });
    out.commit();
    return Outcome(out);
}

std::string OutputNames::claim(const std::string& name) {
    const auto folded = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
        return s;
    };
    std::string candidate = name;
    for (int n = 2; !used_.insert(folded(candidate)).second; ++n)
        candidate = name + "~" + std::to_string(n);
    return candidate;
}

std::string outputName(const std::string& claimed, int index, const std::string& extension) {
    return claimed + "-" + std::to_string(index) + "." + extension;
}

} // namespace vesmarin::iconwriter
