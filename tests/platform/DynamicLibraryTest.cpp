#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

TEST(CDynamicLibrary, OpensFindsAndReportsWhatIsMissing)
{
    platform::CDynamicLibrary missing;
    EXPECT_FALSE(missing.Open("/nonexistent/libnothing.so"));
    EXPECT_NE(missing.GetError().find("libnothing.so"), std::string::npos);
    EXPECT_EQ(missing.FindSymbol("anything"), nullptr);

    platform::CDynamicLibrary math;
    ASSERT_TRUE(math.Open("libm.so.6")) << math.GetError();
    using CosFunction = double (*)(double);
    auto cosine = reinterpret_cast<CosFunction>(math.FindSymbol("cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(math.FindSymbol("no_such_symbol_here"), nullptr);
    EXPECT_NE(math.GetError().find("no_such_symbol_here"), std::string::npos);
}
