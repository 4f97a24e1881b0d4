// The file reader behind the icon reader: ranged reads through its block cache.
#include "platform/iconreader/ByteSource.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vesmarin::iconreader::detail;

TEST(ByteSource, ReadsAnyRangeAndNothingPastTheEnd) {
    const auto path = std::filesystem::temp_directory_path() / "vesmarin-bytesource.bin";
    std::vector<std::uint8_t> bytes(50000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::string error;
    const auto file = openFileSource(path.string(), error);
    ASSERT_TRUE(file) << error;
    const auto memory = memorySource(bytes);
    // Within one block, across blocks, large direct reads, the last byte, and more blocks than the
    // cache holds, twice over so cached and evicted blocks both serve.
    const std::vector<std::pair<std::uint64_t, std::size_t>> ranges = {
        {0, 2},     {4090, 12},    {8191, 1},  {100, 20000}, {49999, 1}, {45000, 5000},
        {12288, 0}, {36000, 4097}, {4096, 64}, {0, 50000},   {20000, 8}, {4090, 12}};
    for (int round = 0; round < 2; ++round)
        for (const auto& [offset, n] : ranges)
            for (const ByteSource* src : {file.get(), memory.get()}) {
                std::vector<std::uint8_t> got(n, 0xEE);
                ASSERT_TRUE(src->read(offset, got.data(), n)) << offset << "+" << n;
                ASSERT_TRUE(
                    std::equal(got.begin(), got.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset)))
                    << offset << "+" << n;
            }
    for (const ByteSource* src : {file.get(), memory.get()}) {
        std::uint8_t b[2];
        EXPECT_FALSE(src->read(49999, b, 2));
        EXPECT_FALSE(src->read(50000, b, 1));
        EXPECT_FALSE(src->read(~std::uint64_t{0}, b, 1));
        EXPECT_TRUE(src->read(50000, b, 0));
    }
    std::filesystem::remove(path);
}

// Anything but a regular file is refused at once: a FIFO with no writer or a device named like a program
// must never block the reader.
TEST(ByteSource, RefusesFifosFoldersAndDevicesWithoutWaiting) {
    const auto fifo = std::filesystem::temp_directory_path() / "vesmarin-bytesource.fifo";
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = std::filesystem::temp_directory_path().string();
    for (const std::string& path :
         {fifo.string(), folder, std::string("/dev/zero"), std::string("/dev/tty")}) {
        std::string error;
        auto result = std::async(std::launch::async, [&] { return openFileSource(path, error) != nullptr; });
        if (result.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            // Release a reader stuck on the FIFO so that the failure is reported instead of hanging.
            const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            result.wait();
            if (writer >= 0)
                ::close(writer);
            ADD_FAILURE() << path << " blocked";
            continue;
        }
        EXPECT_FALSE(result.get()) << path;
        EXPECT_FALSE(error.empty()) << path;
    }
    std::filesystem::remove(fifo);
}
