#include "wdl/IPlug/au/IPlugAU_Graph.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace
{

struct Edge
{
  AudioUnit dest;
  UInt32 bus;
  AudioUnit source;
};

struct Graph
{
  std::mutex lock;
  std::vector<Edge> edges;
};

Graph& TheGraph()
{
  static Graph* graph = new Graph; // outlives any static destructor that closes a unit
  return *graph;
}

} // namespace

void IPlugAUGraph::SetSource(AudioUnit dest, UInt32 bus, AudioUnit source)
{
  if (!dest)
    return;
  Graph& g = TheGraph();
  std::lock_guard<std::mutex> guard(g.lock);
  std::erase_if(g.edges, [&](const Edge& e) { return e.dest == dest && e.bus == bus; });
  if (source)
    g.edges.push_back({dest, bus, source});
}

void IPlugAUGraph::DropUnit(AudioUnit dest)
{
  if (!dest)
    return;
  Graph& g = TheGraph();
  std::lock_guard<std::mutex> guard(g.lock);
  std::erase_if(g.edges, [&](const Edge& e) { return e.dest == dest; });
}

bool IPlugAUGraph::ClosesCycle(AudioUnit dest, AudioUnit source)
{
  if (!dest || !source)
    return false;
  Graph& g = TheGraph();
  std::lock_guard<std::mutex> guard(g.lock);
  // Walk upstream from the source; reaching dest closes the loop.
  std::vector<AudioUnit> todo{source}, seen;
  while (!todo.empty())
  {
    AudioUnit unit = todo.back();
    todo.pop_back();
    if (unit == dest)
      return true;
    if (std::find(seen.begin(), seen.end(), unit) != seen.end())
      continue;
    seen.push_back(unit);
    for (const Edge& e : g.edges)
      if (e.dest == unit)
        todo.push_back(e.source);
  }
  return false;
}
