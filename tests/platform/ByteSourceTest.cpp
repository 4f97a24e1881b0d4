// The file reader behind the icon reader: ranged reads through its block cache.
#include "platform/iconreader/ByteSource.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vesmarin::iconreader::detail;
using namespace std::string_literals;

// Ranged reads of a file and of memory; anything but a regular file is refused at once: a FIFO with no writer
// or a device named like a program must never block the reader.
TEST(ByteSource, ReadsAnyRangeOfARegularFileAndNothingElseOrPastTheEnd) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto path = dir / "vesmarin-bytesource.bin", fifo = dir / "vesmarin-bytesource.fifo";
    std::vector<std::uint8_t> bytes(50000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 50000);
    std::string error;
    const auto file = openFileSource(path.string(), error), memory = memorySource(bytes);
    ASSERT_TRUE(file) << error;
    // Within one block, across blocks, large direct reads, the last byte, and more blocks than the
    // cache holds, twice over so cached and evicted blocks both serve.
    const std::pair<std::uint64_t, std::size_t> ranges[] = {
        {0, 2},     {4090, 12},    {8191, 1},  {100, 20000}, {49999, 1}, {45000, 5000},
        {12288, 0}, {36000, 4097}, {4096, 64}, {0, 50000},   {20000, 8}, {4090, 12}};
    for (const ByteSource* src : {file.get(), memory.get()}) {
        for (int round = 0; round < 2; ++round)
            for (const auto& [at, n] : ranges) {
                std::vector<std::uint8_t> got(n, 0xEE);
                ASSERT_TRUE(src->read(at, got.data(), n) && std::equal(got.begin(), got.end(), &bytes[at]))
                    << at << "+" << n;
            }
        std::uint8_t b[2];
        EXPECT_FALSE(src->read(49999, b, 2) || src->read(50000, b, 1) || src->read(~std::uint64_t{0}, b, 1));
        EXPECT_TRUE(src->read(50000, b, 0));
    }
    std::filesystem::remove(path);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& other : {fifo.string(), dir.string(), "/dev/zero"s, "/dev/tty"s}) {
        auto opened = std::async(std::launch::async, [&] { return openFileSource(other, error) != nullptr; });
        const bool blocked = opened.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
        if (blocked) // release a reader stuck on the FIFO so that the failure is reported instead of hanging
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        // Refused, with a reason (taken, so that the next path gives its own).
        EXPECT_FALSE(blocked || opened.get() || std::exchange(error, {}).empty()) << other;
    }
    std::filesystem::remove(fifo);
}
