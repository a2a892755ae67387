#include "platform/grand_tampon.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <vector>

namespace {

// Fresh anonymous memory has no page until written: after PreparerPages, the
// pages wholly inside the range are there, and no other.
TEST(GrandTampon, PreparerPagesAmeneLesPagesEntieresSeulement)
{
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    constexpr std::size_t Pages = 16;
    void* zone = mmap(nullptr, Pages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(zone, MAP_FAILED);
    auto* debut = static_cast<char*>(zone);

    // From the middle of page 1 to the middle of page 10.
    EXPECT_TRUE(tq::PreparerPages(debut + page + page / 2, 9 * page));
    std::vector<unsigned char> presentes(Pages);
    ASSERT_EQ(mincore(zone, Pages * page, presentes.data()), 0);
    for (std::size_t i = 0; i < Pages; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(presentes[i] & 1, i >= 2 && i <= 9 ? 1 : 0);
    }

    // Nothing to do within a single page, nor for no byte.
    EXPECT_FALSE(tq::PreparerPages(debut + 12 * page + 1, page - 1));
    EXPECT_FALSE(tq::PreparerPages(debut + 13 * page, 0));
    ASSERT_EQ(mincore(zone, Pages * page, presentes.data()), 0);
    EXPECT_EQ(presentes[12] & 1, 0);
    EXPECT_EQ(presentes[13] & 1, 0);
    munmap(zone, Pages * page);
}

} // namespace
