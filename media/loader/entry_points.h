#pragma once
// The entry points the media engine calls, per library, in binding order. X(name, optional): a missing
// mandatory entry fails the whole library; a missing optional one leaves its slot empty.
//
// This header names entries only and includes no library header, so that a stand-in library for tests can be
// built from the same lists. When engine code starts calling another entry, it is added here.

#define QUENNARY_AVUTIL_ENTRIES(X)                \
    X(avutil_version, false)                      \
    X(av_audio_fifo_alloc, false)         \
    X(av_audio_fifo_free, false)          \
    X(av_audio_fifo_write, false)         \
    X(av_audio_fifo_read, false)          \
    X(av_audio_fifo_size, false)          \
    X(av_audio_fifo_drain, false)         \
    X(av_samples_set_silence, false)      \
    X(av_channel_layout_copy, false)      \
    X(av_channel_layout_compare, false)   \
    X(av_rescale_q_rnd, false)            \
    X(av_compare_ts, false)               \
    X(av_gettime_relative, false)         \
    X(av_usleep, false)                   \
    X(av_opt_set_double, false)           \
    X(av_memdup, false)                   \
    X(av_frame_copy_props, false)         \
    X(av_dynarray_add, false)             \
    X(av_log, false)                              \
    X(av_log_get_level, false)                    \
    X(av_log_set_level, false)                    \
    X(av_log_set_callback, false)                 \
    X(av_malloc, false)                           \
    X(av_free, false)                             \
    X(av_freep, false)                            \
    X(av_strdup, false)                           \
    X(av_dict_get, false)                         \
    X(av_opt_find, false)                         \
    X(av_opt_set, false)                          \
    X(av_opt_set_int, false)                      \
    X(av_opt_get, false)                          \
    X(av_opt_set_bin, false)                      \
    X(av_frame_ref, false)                        \
    X(av_frame_alloc, false)                      \
    X(av_frame_free, false)                       \
    X(av_frame_unref, false)                      \
    X(av_frame_move_ref, false)                   \
    X(av_frame_get_buffer, false)                 \
    X(av_frame_make_writable, false)              \
    X(av_image_fill_black, false)                 \
    X(av_get_pix_fmt_name, false)                 \
    X(av_pix_fmt_desc_get, false)                 \
    X(av_dict_set, false)                     \
    X(av_dict_free, false)                    \
    X(av_rescale_q, false)                    \
    X(av_reduce, false)                       \
    X(av_gcd, false)                          \
    X(av_get_sample_fmt_name, false)          \
    X(av_get_bytes_per_sample, false)         \
    X(av_sample_fmt_is_planar, false)         \
    X(av_get_packed_sample_fmt, false)        \
    X(av_realloc, false)                      \
    X(av_channel_layout_default, false)       \
    X(av_channel_layout_uninit, false)        \
    X(av_parse_video_rate, false)             \
    X(av_parse_video_size, false)             \
    X(av_parse_time, false)                   \
    X(av_get_sample_fmt, false)               \
    X(av_get_pix_fmt_string, false)           \
    X(av_get_sample_fmt_string, false)        \
    X(av_find_nearest_q_idx, false)           \
    X(av_d2q, false)                          \
    X(av_dict_copy, false)                    \
    X(av_opt_get_int, false)                  \
    X(av_opt_set_dict2, false)                \
    X(av_channel_layout_from_mask, false)     \
    X(av_mallocz, false)                      \
    X(av_get_pix_fmt, false)                  \
    X(av_opt_next, false)                     \
    X(av_get_picture_type_char, false)        \
    X(av_pix_fmt_get_chroma_sub_sample, false)

#define QUENNARY_SWRESAMPLE_ENTRIES(X)            \
    X(swr_alloc_set_opts2, false)             \
    X(swr_init, false)                        \
    X(swr_convert, false)                     \
    X(swr_free, false)                        \
    X(swr_get_out_samples, false)             \
    X(swr_get_delay, false)                   \
    X(swr_set_compensation, false)            \
    X(swresample_version, false)

#define QUENNARY_SWSCALE_ENTRIES(X)               \
    X(swscale_version, false)                     \
    X(sws_alloc_context, false)                   \
    X(sws_getCachedContext, false)            \
    X(sws_scale, false)                       \
    X(sws_freeContext, false)

#define QUENNARY_AVCODEC_ENTRIES(X)               \
    X(avcodec_version, false)                     \
    X(avcodec_send_frame, false)          \
    X(avcodec_receive_packet, false)      \
    X(avcodec_parameters_from_context, false) \
    X(avcodec_parameters_copy, false)     \
    X(av_bsf_list_parse_str, false)       \
    X(av_bsf_init, false)                 \
    X(av_bsf_send_packet, false)          \
    X(av_bsf_receive_packet, false)       \
    X(av_bsf_free, false)                 \
    X(av_packet_rescale_ts, false)        \
    X(av_packet_get_side_data, false)     \
    X(avcodec_decode_subtitle2, false)    \
    X(avcodec_encode_subtitle, false)     \
    X(avsubtitle_free, false)             \
    X(av_new_packet, false)               \
    X(avcodec_find_decoder, false)                \
    X(avcodec_find_encoder, false)                \
    X(avcodec_get_name, false)                    \
    X(avcodec_alloc_context3, false)              \
    X(avcodec_free_context, false)                \
    X(avcodec_parameters_to_context, false)   \
    X(avcodec_open2, false)                   \
    X(avcodec_send_packet, false)             \
    X(avcodec_receive_frame, false)           \
    X(avcodec_flush_buffers, false)           \
    X(avcodec_string, false)                  \
    X(av_packet_alloc, false)                 \
    X(av_packet_free, false)                  \
    X(av_packet_unref, false)                 \
    X(avcodec_find_encoder_by_name, false)    \
    X(avcodec_find_decoder_by_name, false)    \
    X(av_bsf_get_by_name, false)              \
    X(av_codec_iterate, false)                \
    X(av_packet_ref, false)                   \
    X(av_packet_move_ref, false)

#define QUENNARY_AVFORMAT_ENTRIES(X)              \
    X(avformat_version, false)                    \
    X(avformat_write_header, false)       \
    X(av_write_trailer, false)            \
    X(av_interleaved_write_frame, false)  \
    X(avformat_query_codec, false)        \
    X(avformat_alloc_context, false)              \
    X(avformat_free_context, false)               \
    X(avformat_open_input, false)             \
    X(avformat_find_stream_info, false)       \
    X(avformat_close_input, false)            \
    X(av_find_input_format, false)            \
    X(av_read_frame, false)                   \
    X(av_seek_frame, false)                   \
    X(avio_alloc_context, false)              \
    X(avio_context_free, false)               \
    X(avio_size, false)                       \
    X(avio_feof, false)                       \
    X(avio_seek, false)                       \
    X(avio_flush, false)                      \
    X(av_guess_format, false)                 \
    X(av_guess_codec, false)                  \
    X(avformat_new_stream, false)             \
    X(avio_open2, false)                      \
    X(avio_closep, false)                     \
    X(av_filename_number_test, false)         \
    X(av_dump_format, false)                  \
    X(av_demuxer_iterate, false)              \
    X(av_muxer_iterate, false)                \
    X(av_find_best_stream, false)             \
    X(avformat_seek_file, false)              \
    X(av_read_pause, false)                   \
    X(av_read_play, false)                    \
    X(av_sdp_create, false)                   \
    X(av_guess_frame_rate, false)

#define QUENNARY_AVFILTER_ENTRIES(X)              \
    X(avfilter_version, false)                    \
    X(avfilter_get_by_name, false)                \
    X(avfilter_graph_alloc, false)                \
    X(avfilter_graph_create_filter, false)        \
    X(avfilter_graph_parse_ptr, false)            \
    X(avfilter_graph_config, false)               \
    X(avfilter_graph_free, false)                 \
    X(avfilter_inout_alloc, false)                \
    X(avfilter_inout_free, false)                 \
    X(av_buffersrc_add_frame_flags, false)        \
    X(av_buffersink_get_frame, false)             \
    X(av_buffersink_get_time_base, false)
