#pragma once
// Millisecond tick counter (wraps after 49 days; differences are taken unsigned).
unsigned tickCount();
