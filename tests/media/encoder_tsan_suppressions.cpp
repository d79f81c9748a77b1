// Under ThreadSanitizer: FFmpeg's codec threads hand buffers over through reference counts kept with atomics in
// code the sanitizer does not see, so freeing, copying and allocating a pooled buffer look racy. Only those
// routines of FFmpeg's own are named: a race through one of our callbacks, even on a codec thread, still shows.
// Linked once into the encoder tests' executable.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:av_buffer_unref\nrace:av_buffer_make_writable\nrace:av_malloc\n";
}
