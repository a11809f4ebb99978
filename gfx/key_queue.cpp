#include "gfx/key_queue.h"

namespace gfx {

void push_key_code(KeyQueue& queue, std::string_view code) {
    if (code.empty() || code.size() > 2) return;
    if (queue.count == KeyQueue::capacity) {
        queue.head = (queue.head + 1) % KeyQueue::capacity;
        --queue.count;
    }
    KeyQueue::Code& slot =
        queue.codes[static_cast<std::size_t>((queue.head + queue.count) % KeyQueue::capacity)];
    slot.length = static_cast<std::uint8_t>(code.size());
    for (std::size_t i = 0; i < code.size(); ++i)
        slot.bytes[i] = code[i];
    ++queue.count;
}

std::string pop_key_code(KeyQueue& queue) {
    if (queue.count == 0) return {};
    const KeyQueue::Code& slot = queue.codes[static_cast<std::size_t>(queue.head)];
    std::string code(slot.bytes.data(), slot.length);
    queue.head = (queue.head + 1) % KeyQueue::capacity;
    --queue.count;
    return code;
}

}  // namespace gfx
