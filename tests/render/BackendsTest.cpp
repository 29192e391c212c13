// Every renderer of the build fills the whole of the interface the fronts call through: a
// missing operation would be a null call deep inside a frame, on one renderer only.
#include "post/EffectBackend.h"
#include "render/Backends.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The first `count` function pointers of a table (all of them by default), read as raw words:
// every one must be set.
template <typename Ops>
void expectEveryOperation(const Ops* ops, const std::string& what, std::size_t count = sizeof(Ops) / sizeof(void*)) {
    ASSERT_NE(ops, nullptr) << what;
    const auto* words = reinterpret_cast<void* const*>(ops);
    for (std::size_t i = 0; i < count; ++i) EXPECT_NE(words[i], nullptr) << what << " " << i;
}

TEST(RenderBackends, EachFillsEveryOperationAndIsFoundByItsName) {
    ASSERT_FALSE(renderBackends().empty());
    EXPECT_EQ(&backend(), renderBackends().front()) << "the default draws until one is chosen";
    for (const RenderBackend* b : renderBackends()) {
        const std::string name = b->name;
        EXPECT_EQ(backendNamed(name), b);
        EXPECT_NE(b->start, nullptr) << name;
        EXPECT_NE(b->takesShortcuts, nullptr) << name;
        expectEveryOperation(b->pass, name + " pass");
        expectEveryOperation(b->frame, name + " frame");
        expectEveryOperation(b->target, name + " target");
        expectEveryOperation(b->camera, name + " camera");
        expectEveryOperation(b->mesh, name + " mesh");
        expectEveryOperation(b->sprite, name + " sprite");
        expectEveryOperation(b->shadow, name + " shadow");
        expectEveryOperation(b->texture, name + " texture");
        expectEveryOperation(b->shell, name + " shell");
        constexpr std::size_t kRequiredEffects = 11; // createTextures to composeHalfMask
        expectEveryOperation(b->effects, name + " effects", kRequiredEffects);
    }
    EXPECT_EQ(backendNamed("vulkan"), nullptr);
    ASSERT_NE(referenceBackend(), nullptr);
    EXPECT_EQ(std::string(referenceBackend()->name), "fixed");
}

} // namespace
