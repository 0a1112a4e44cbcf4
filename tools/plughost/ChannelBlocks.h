// ChannelBlocks.h — per-channel sample blocks in the float** form of the
// process calls, and moving frames between them and interleaved data.
#pragma once

#include <algorithm>
#include <vector>

namespace plughost {

class ChannelBlocks {
public:
    ChannelBlocks(int channels, int frames)
        : storage(static_cast<std::size_t>(std::max(channels, 1)), std::vector<float>(static_cast<std::size_t>(frames))),
          pointers(storage.size()) {
        for (std::size_t c = 0; c < storage.size(); ++c) pointers[c] = storage[c].data();
    }
    float** data() { return pointers.data(); }
    int channels() const { return static_cast<int>(storage.size()); }
    void clear() {
        for (auto& channel : storage) std::fill(channel.begin(), channel.end(), 0.0f);
    }
    // Frames [first, first+count) of `source` (with `sourceChannels`) into the
    // blocks; channels beyond the source repeat its last channel.
    void fill(const float* source, int sourceChannels, long long first, int count) {
        for (int c = 0; c < channels(); ++c) {
            int from = std::min(c, sourceChannels - 1);
            for (int i = 0; i < count; ++i)
                storage[static_cast<std::size_t>(c)][static_cast<std::size_t>(i)] =
                    source[(first + i) * sourceChannels + from];
        }
    }
    void drain(float* target, long long first, int count) const {
        for (int c = 0; c < channels(); ++c)
            for (int i = 0; i < count; ++i)
                target[(first + i) * channels() + c] = storage[static_cast<std::size_t>(c)][static_cast<std::size_t>(i)];
    }

private:
    std::vector<std::vector<float>> storage;
    std::vector<float*> pointers;
};

}  // namespace plughost
