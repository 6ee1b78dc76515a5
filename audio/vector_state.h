// Qt's drawing code runs AVX instructions and can leave the upper halves of the vector
// registers dirty. libopenmpt's SSE code then pays a state-transition penalty on every vector
// instruction: a module load took ten times longer on the UI thread than in a plain program.
// Clearing the upper halves first costs one instruction. Safe on any thread, never blocks.
#pragma once

namespace hollowtide::audio {

void ClearUpperVectorState() noexcept;

}  // namespace hollowtide::audio
