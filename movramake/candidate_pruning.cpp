#include "candidate_pruning.h"

#include <algorithm>
#include <utility>

namespace movra {
namespace {

bool cheaper(const Candidate& a, const Candidate& b) {
  return a.rate < b.rate || (a.rate == b.rate && a.distortion < b.distortion);
}

void moveCheapestToFront(CandidatePool& pool) {
  const auto begin = pool.items.begin();
  const auto cheapest = std::min_element(begin, begin + pool.count, cheaper);
  std::rotate(begin, cheapest, cheapest + 1);
}

// Keeps the `kept` leading points and continues with the candidates in
// [kept, count), which the caller has narrowed down.
class PoolWalk {
 public:
  explicit PoolWalk(CandidatePool& pool) : pool_(pool), rest_(pool.count) {}
  Candidate& last() { return pool_.items[kept_ - 1]; }
  Candidate* restBegin() { return pool_.items.data() + kept_; }
  Candidate* restEnd() { return pool_.items.data() + rest_; }
  template <typename Predicate>
  void drop(Predicate&& predicate) {
    rest_ = static_cast<unsigned>(std::remove_if(restBegin(), restEnd(), predicate) - pool_.items.data());
  }
  bool restEmpty() const { return rest_ == kept_; }
  void keep(Candidate* chosen) {
    std::swap(pool_.items[kept_], *chosen);
    ++kept_;
  }
  void start() { kept_ = 1; }
  void finish() { pool_.count = kept_; }

 private:
  CandidatePool& pool_;
  unsigned rest_;
  unsigned kept_ = 0;
};

}  // namespace

void reduceToConvexHull(CandidatePool& pool) {
  if (pool.count == 0) return;
  moveCheapestToFront(pool);
  std::uint32_t lowest = pool.items[0].distortion;
  for (unsigned i = 1; i < pool.count; ++i) lowest = std::min(lowest, pool.items[i].distortion);

  PoolWalk walk(pool);
  walk.start();
  while (walk.last().distortion != lowest) {
    const Candidate h = walk.last();
    walk.drop([&](const Candidate& c) { return c.rate < h.rate + 1 || c.distortion >= h.distortion; });
    if (walk.restEmpty()) break;
    // Largest (distortion saved) / (rate spent), compared exactly by cross
    // products; ties go to the smaller rate step.
    Candidate* best = walk.restBegin();
    for (Candidate* c = best + 1; c != walk.restEnd(); ++c) {
      const std::uint64_t savedC = h.distortion - c->distortion, stepC = c->rate - h.rate;
      const std::uint64_t savedB = h.distortion - best->distortion, stepB = best->rate - h.rate;
      const std::uint64_t left = savedC * stepB, right = savedB * stepC;
      if (left > right || (left == right && stepC < stepB)) best = c;
    }
    walk.keep(best);
  }
  walk.finish();
}

void reduceToStaircase(CandidatePool& pool) {
  if (pool.count == 0) return;
  moveCheapestToFront(pool);
  PoolWalk walk(pool);
  walk.start();
  while (walk.last().distortion != 0) {
    const Candidate h = walk.last();
    walk.drop([&](const Candidate& c) { return c.rate < h.rate || c.distortion > h.distortion; });
    Candidate* best = nullptr;
    for (Candidate* c = walk.restBegin(); c != walk.restEnd(); ++c) {
      if (c->rate > h.rate && c->distortion < h.distortion && (!best || cheaper(*c, *best))) best = c;
    }
    if (!best) break;
    walk.keep(best);
  }
  walk.finish();
}

void resampleTo(CandidatePool& pool, unsigned limit) {
  if (pool.count <= limit) return;
  const unsigned n = pool.count;
  for (unsigned k = 1; k < limit; ++k) pool.items[k] = pool.items[k * (n - 1) / (limit - 1)];
  pool.count = limit;
}

}  // namespace movra
