#include "frame_compressor.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "area_candidates.h"
#include "bandwidth_allocation.h"
#include "block_allocator.h"
#include "block_candidates.h"
#include "candidate_pruning.h"
#include "colour_estimate.h"
#include "cost_update.h"
#include "encoder_messages.h"
#include "encoder_status.h"
#include "motion_search.h"
#include "plane_writer.h"
#include "processor_count.h"
#include "worker_pool.h"

namespace movra {
namespace {

constexpr const char* kBlockPassTexts[kPlaneCount] = {"Compressing Y plane", "Compressing Cr plane",
                                                      "Compressing Cb plane", "Compressing alpha plane"};
constexpr const char* kAreaPassTexts[kPlaneCount] = {"Compressing Y high-plane", "Compressing Cr high-plane",
                                                     nullptr, "Compressing alpha high-plane"};
constexpr const char* kEncodeTexts[kPlaneCount] = {"Encoding Y plane", "Encoding Cr plane", "Encoding Cb plane",
                                                   "Encoding alpha plane"};
constexpr const char* kAllocatingText = "Allocating bandwidth";
constexpr const char* kMergingText = "Merging multi-resolution planes";

// One plane of the frame being compressed, with its part of the work buffer.
struct PlaneJob {
  unsigned plane = 0;
  const std::uint8_t* source = nullptr;
  const std::uint8_t* reference = nullptr;
  std::uint8_t* output = nullptr;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  CandidateList* blocks = nullptr;  // (width / 8) x (height / 8)
  CandidateList* areas = nullptr;   // (width / 16) x (height / 16)
  CandidateList* unmergedAreas = nullptr;  // the area lists as their pass left them
  std::uint8_t* subtypes = nullptr;
  BlockCosts costs;

  std::uint32_t blockColumns() const { return width / 8; }
  std::uint32_t blockCount() const { return (width / 8) * (height / 8); }
  std::uint32_t areaColumns() const { return width / 16; }
  std::uint32_t areaCount() const { return (width / 16) * (height / 16); }
};

// The frame's candidate lists and sub types, one allocation released when
// the frame is done.
class FrameWork {
 public:
  explicit FrameWork(std::size_t bytes) : block_(bytes > 0xFFFFFF00u ? nullptr : zet::allocateBlock(static_cast<std::uint32_t>(bytes))) {}
  ~FrameWork() { zet::releaseBlock(block_); }
  FrameWork(const FrameWork&) = delete;
  FrameWork& operator=(const FrameWork&) = delete;
  std::uint8_t* bytes() const { return static_cast<std::uint8_t*>(block_); }

 private:
  void* block_;
};

class FrameCompression {
 public:
  FrameCompression(Encoder& encoder, unsigned slot) : encoder_(encoder), slot_(encoder.slots[slot]) {}

  std::optional<EncodedFrame> run(std::uint32_t budget) {
    std::size_t lists = 0, blocks = 0;
    for (unsigned p = 0; p < kPlaneCount; ++p) {
      if (!slot_.source.plane[p]) continue;
      PlaneJob job = makeJob(p);
      lists += job.blockCount() + 2 * job.areaCount();
      blocks += job.blockCount();
      jobs_.push_back(job);
    }
    FrameWork work(lists * sizeof(CandidateList) + blocks);
    if (!work.bytes()) {
      reportError(encoder_.status, nullptr, kOutOfMemoryMessage);
      return std::nullopt;
    }
    carve(work.bytes());

    for (PlaneJob& job : jobs_) {
      estimateColourCost(job.source, slot_.key ? nullptr : job.reference, std::size_t{job.width} * job.height,
                         encoder_.costs[job.plane].colour);
      job.costs = blockCostsOf(encoder_.costs[job.plane]);
    }
    for (PlaneJob& job : jobs_) {
      step(kBlockPassTexts[job.plane]);
      blockPass(job);
    }
    for (PlaneJob& job : jobs_) {
      if (kAreaPassTexts[job.plane]) step(kAreaPassTexts[job.plane]);
      areaPass(job);
      std::copy(job.areas, job.areas + job.areaCount(), job.unmergedAreas);
    }

    // Rates are estimates: a frame whose coding comes out larger than its
    // maximum (or than the room kept for a plane) is allocated and coded
    // again with a smaller budget, from the same lists and cost states.
    const std::array<PlaneCosts, kPlaneCount> costsBefore = encoder_.costs;
    for (unsigned attempt = 0;; ++attempt) {
      const std::optional<EncodedFrame> frame = allocateAndCode(budget, attempt == 0);
      const std::uint64_t bytes = frame ? videoBytes(*frame) : ~std::uint64_t{0};
      if (bytes <= slot_.maximumBytes || (frame && budget == 0)) {
        encoder_.reference = 1 - encoder_.reference;
        for (const PlaneJob& job : jobs_) correctColourCost(encoder_.costs[job.plane].colour);
        return frame;
      }
      if (budget == 0) {
        reportError(encoder_.status, nullptr, kPlaneTooLargeMessage);
        return std::nullopt;
      }
      const std::uint64_t excess = frame ? bytes - slot_.maximumBytes : budget / 2;
      budget = attempt >= kMaxShrinks || excess + excess / 8 + 16 >= budget
                   ? 0
                   : static_cast<std::uint32_t>(budget - excess - excess / 8 - 16);
      encoder_.costs = costsBefore;
      for (PlaneJob& job : jobs_) {
        std::copy(job.unmergedAreas, job.unmergedAreas + job.areaCount(), job.areas);
        std::memset(job.subtypes, 0, job.blockCount());
      }
    }
  }

 private:
  static constexpr unsigned kMaxShrinks = 3;

  // The video part of the packet: the coded planes and their size prefixes.
  std::uint64_t videoBytes(const EncodedFrame& frame) const {
    std::uint64_t bytes = 4 + (encoder_.settings.alpha ? 4 : 0);
    for (const std::uint32_t plane : frame.planeBytes) bytes += plane;
    return bytes;
  }

  // Empty when a plane did not fit the room kept for it.
  std::optional<EncodedFrame> allocateAndCode(std::uint32_t budget, bool report) {
    if (report) step(kAllocatingText);
    std::vector<CandidateList*> blockLists;
    for (PlaneJob& job : jobs_) {
      for (std::uint32_t i = 0; i < job.blockCount(); ++i) blockLists.push_back(&job.blocks[i]);
    }
    allocateBandwidth(blockLists, budget);
    if (report) step(kMergingText);
    mergeResolutions(budget);

    EncodedFrame frame;
    for (PlaneJob& job : jobs_) {
      if (report) step(kEncodeTexts[job.plane]);
      const PlaneToCode plane{job.source, job.reference, job.output, job.width, job.height, job.blocks, job.subtypes};
      const CodedPlane coded =
          codePlane(plane, encoder_.encodedPlanes[job.plane], encoder_.encodedPlaneCapacity[job.plane]);
      if (!coded.fits) return std::nullopt;
      frame.planeBytes[job.plane] = coded.bytes;
      updatePlaneCosts(coded.usage, encoder_.costs[job.plane]);
    }
    return frame;
  }

  PlaneJob makeJob(unsigned p) const {
    const PlaneGeometry& g = encoder_.settings.planes;
    const bool chroma = p == kCr || p == kCb;
    PlaneJob job;
    job.plane = p;
    job.source = slot_.source.plane[p];
    job.reference = encoder_.reconstructed[encoder_.reference].plane[p];
    job.output = encoder_.reconstructed[1 - encoder_.reference].plane[p];
    job.width = chroma ? g.chromaWidth : g.lumaWidth;
    job.height = chroma ? g.chromaHeight : g.lumaHeight;
    return job;
  }

  void carve(std::uint8_t* memory) {
    auto* lists = reinterpret_cast<CandidateList*>(memory);
    std::size_t used = 0;
    for (PlaneJob& job : jobs_) {
      job.blocks = new (lists + used) CandidateList[job.blockCount()];
      used += job.blockCount();
      job.areas = new (lists + used) CandidateList[job.areaCount()];
      used += job.areaCount();
      job.unmergedAreas = new (lists + used) CandidateList[job.areaCount()];
      used += job.areaCount();
    }
    std::uint8_t* subtypes = memory + used * sizeof(CandidateList);
    for (PlaneJob& job : jobs_) {
      job.subtypes = subtypes;
      std::memset(subtypes, 0, job.blockCount());
      subtypes += job.blockCount();
    }
  }

  void step(const char* text) { reportProgress(encoder_, -1, text); }

  void blockPass(PlaneJob& job) {
    const bool inter = !slot_.key;
    const MotionSearchArea area{job.reference, job.width, job.width, job.height};
    runParallel(job.blockCount(), processorCount(), [&](std::uint32_t index) {
      const std::uint32_t x = (index % job.blockColumns()) * 8, y = (index / job.blockColumns()) * 8;
      BlockInputs inputs;
      inputs.inter = inter;
      gatherBlock({job.source + std::size_t{y} * job.width + x, job.width}, inputs.source.data());
      CandidateList& list = job.blocks[index];
      if (inter) {
        gatherBlock({job.reference + std::size_t{y} * job.width + x, job.width}, inputs.reference.data());
        const MotionVector vector = searchMotion(area, x, y, inputs.source.data());
        list.dx = vector.dx;
        list.dy = vector.dy;
        gatherBlock({job.reference + std::size_t(y + vector.dy) * job.width + x + vector.dx, job.width},
                    inputs.prediction.data());
      }
      buildBlockCandidates(inputs, job.costs, list);
    });
  }

  void areaPass(PlaneJob& job) {
    const bool inter = !slot_.key;
    runParallel(job.areaCount(), processorCount(), [&](std::uint32_t index) {
      const std::uint32_t x = (index % job.areaColumns()) * 16, y = (index / job.areaColumns()) * 16;
      AreaInputs inputs;
      inputs.inter = inter;
      for (unsigned row = 0; row < 16; ++row) {
        std::memcpy(inputs.source.data() + row * 16, job.source + std::size_t{y + row} * job.width + x, 16);
        if (inter) {
          std::memcpy(inputs.reference.data() + row * 16, job.reference + std::size_t{y + row} * job.width + x, 16);
        }
      }
      buildAreaCandidates(inputs, job.costs, job.areas[index]);
    });
  }

  // Offers every area the choice of keeping its four blocks as allocated,
  // spends what the blocks outside any area leave over on the areas, and
  // turns each area that chose a scaled coding into one scaled block.
  void mergeResolutions(std::uint32_t budget) {
    std::uint64_t outside = 0;
    std::vector<CandidateList*> areaLists;
    for (PlaneJob& job : jobs_) {
      const std::uint32_t columns = job.blockColumns();
      for (std::uint32_t i = 0; i < job.blockCount(); ++i) {
        const std::uint32_t column = i % columns, row = i / columns;
        if (column >= job.areaColumns() * 2 || row >= (job.height / 16) * 2) outside += job.blocks[i].chosen.rate;
      }
      for (std::uint32_t a = 0; a < job.areaCount(); ++a) {
        CandidateList& area = job.areas[a];
        const std::uint32_t first = (a / job.areaColumns()) * 2 * columns + (a % job.areaColumns()) * 2;
        const CandidateList* four[4] = {&job.blocks[first], &job.blocks[first + 1], &job.blocks[first + columns],
                                        &job.blocks[first + columns + 1]};
        Candidate keep{kKeepFour, 0, 0, 0};
        for (const CandidateList* block : four) {
          keep.rate += block->chosen.rate;
          keep.distortion += block->chosen.distortion;
        }
        CandidatePool pool;
        for (unsigned c = 0; c < area.count; ++c) pool.add(area.candidates[c]);
        pool.add(keep);
        reduceToConvexHull(pool);
        area.count = 0;
        for (unsigned c = 0; c < pool.count; ++c) area.add(pool.items[c]);
        areaLists.push_back(&area);
      }
    }
    const std::uint64_t outsideBytes = outside / 2048;
    allocateBandwidth(areaLists, outsideBytes >= budget ? 0 : static_cast<std::uint32_t>(budget - outsideBytes));

    for (PlaneJob& job : jobs_) {
      const std::uint32_t columns = job.blockColumns();
      for (std::uint32_t a = 0; a < job.areaCount(); ++a) {
        const Candidate& choice = job.areas[a].chosen;
        if (choice.type == kKeepFour) continue;
        const std::uint32_t first = (a / job.areaColumns()) * 2 * columns + (a % job.areaColumns()) * 2;
        job.blocks[first].chosen = {kScaledBlock, choice.parameter, choice.rate, choice.distortion};
        job.subtypes[first] = choice.type;
        job.blocks[first + columns].chosen = {kScaledBlock, 0, 0, 0};
        job.blocks[first + 1].chosen.type = kCoveredBlock;
        job.blocks[first + columns + 1].chosen.type = kCoveredBlock;
      }
    }
  }

  Encoder& encoder_;
  const WindowSlot& slot_;
  std::vector<PlaneJob> jobs_;
};

}  // namespace

std::optional<EncodedFrame> compressFrame(Encoder& encoder, unsigned slot, std::uint32_t budgetBytes) {
  return FrameCompression(encoder, slot).run(budgetBytes);
}

}  // namespace movra
