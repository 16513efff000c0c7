#pragma once
#include "core/acquisition_state.h"
#include "core/counter_state.h"
#include "core/device_state.h"
#include "core/display_state.h"
#include "core/files_state.h"
#include "core/generator_state.h"
#include "core/help_state.h"
#include "core/measurement_state.h"
#include "core/printing_state.h"
#include "core/remote_state.h"
#include "core/run_state.h"
#include "core/sample_buffers.h"
#include "core/spectrum_state.h"

namespace qvx {

// The instrument state: one record of settings, flags and buffers, each field under one
// name and with one meaning. Each base is the part one subsystem owns; a procedure that
// needs only some of them takes those parts, so its signature says what it may touch.
// Selection and display toggles use 1 (on) and -1 (off); assigned flags use 1 and 0.
struct InstrumentState : DeviceState,
                         RunState,
                         TimebaseState,
                         ChannelState,
                         TriggerState,
                         CaptureState,
                         CalibrationState,
                         DisplayState,
                         RenderState,
                         VerticalState,
                         CursorState,
                         SpectrumState,
                         GeneratorState,
                         CounterState,
                         SaveDialogState,
                         FilePanelState,
                         SampleBuffers,
                         RemoteState,
                         PrintState,
                         HelpState,
                         MeasurementState {};

}  // namespace qvx
