#pragma once

namespace korvan {

// Told after every frame of a download or upload, for a progress bar.
class TransferProgress {
public:
    virtual ~TransferProgress() = default;
    virtual void framesDone(int done, int total) = 0;
};

} // namespace korvan
