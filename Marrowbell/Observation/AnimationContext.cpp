#include "Observation/AnimationContext.h"

namespace Marrowbell {
namespace {

thread_local AnimationContext currentContext;

class ContextRestorer {
public:
    explicit ContextRestorer(AnimationContext previous)
        : previous_(previous) {}
    ~ContextRestorer() { currentContext = previous_; }
    ContextRestorer(const ContextRestorer&) = delete;
    ContextRestorer& operator=(const ContextRestorer&) = delete;

private:
    AnimationContext previous_;
};

} // namespace

AnimationContext AnimationContext::current() {
    return currentContext;
}

void AnimationContext::runGroup(AnimationContext context, const std::function<void()>& body) {
    const ContextRestorer restorer(currentContext);
    currentContext = context;
    body();
}

} // namespace Marrowbell
