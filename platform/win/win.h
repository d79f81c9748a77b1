#pragma once
// The window manager in one include.
#include "platform/win/backend.h"
#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "platform/win/keys.h"
#include "platform/win/layered.h"
#include "platform/win/message_queue.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/shell.h"
#include "platform/win/styles.h"
#include "platform/win/surfaces.h"
#include "platform/win/window.h"
