#include "common/LargeArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <new>

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;

} // namespace

// Every size gives a block that holds what is written to it, whole; on Linux a block of
// 128 KB or more starts on a huge page.
TEST(LargeArray, BlocksHoldTheirBytes)
{
    struct Case {
        const char* what;
        std::size_t bytes;
        bool onHugePage;
    };
    const Case cases[] = {
        {"no bytes", 0, false},
        {"a few bytes", 24, false},
        {"just under 128 KB", HugePage / 16 - 8, false},
        {"128 KB", HugePage / 16, true},
        {"the pixels of a curve of 1024 points", 32737 * 8, true},
        {"one huge page", HugePage, true},
        {"a little more than one huge page", HugePage + 16, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* block = static_cast<unsigned char*>(allocateLargeBlock(c.bytes));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
#ifdef __linux__
        if (c.onHugePage) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % HugePage, 0u);
        }
#endif
        for (std::size_t i = 0; i < c.bytes; ++i)
            block[i] = static_cast<unsigned char>(i * 7);
        bool kept = true;
        for (std::size_t i = 0; i < c.bytes; ++i)
            kept = kept && block[i] == static_cast<unsigned char>(i * 7);
        EXPECT_TRUE(kept);
        releaseLargeBlock(block);
    }
}

// A vector grows across the quarter megabyte and keeps its values; a size that cannot
// be had is refused as std::vector refuses it, never given a short block.
TEST(LargeArray, VectorsGrowAndRefuseWhatCannotBeHad)
{
    LargeArray<double> values;
    for (int i = 0; i < 100000; ++i)
        values.push_back(i * 0.5);
    bool kept = true;
    for (int i = 0; i < 100000; ++i)
        kept = kept && values[i] == i * 0.5;
    EXPECT_TRUE(kept);
    values.resize(3);
    values.shrink_to_fit();
    EXPECT_EQ(values, (LargeArray<double>{0, 0.5, 1}));

    LargeArrayAllocator<double> allocator;
    EXPECT_THROW(allocator.allocate(std::numeric_limits<std::size_t>::max() / 4), std::bad_array_new_length);
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer reports a request past its limit as an error
    EXPECT_THROW(allocator.allocate(std::numeric_limits<std::size_t>::max() / 16), std::bad_alloc);
#endif
}
