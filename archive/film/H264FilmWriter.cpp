#include "archive/film/H264FilmWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

namespace {

QString errorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

} // namespace

H264FilmWriter::~H264FilmWriter() {
    if (format_ && format_->pb)
        avio_closep(&format_->pb);
    avformat_free_context(format_);
    avcodec_free_context(&encoder_);
    av_packet_free(&packet_);
}

QString H264FilmWriter::openEncoder(QSize frameSize, int framesPerSecond) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        return QStringLiteral("this libavcodec has no H.264 encoder (libx264)");
    encoder_ = avcodec_alloc_context3(codec);
    packet_ = av_packet_alloc();
    if (!encoder_ || !packet_)
        return errorText(AVERROR(ENOMEM));
    encoder_->width = frameSize.width();
    encoder_->height = frameSize.height();
    encoder_->time_base = AVRational{1, framesPerSecond};
    encoder_->framerate = AVRational{framesPerSecond, 1};
    encoder_->sample_aspect_ratio = AVRational{1, 1};
    encoder_->pix_fmt = AV_PIX_FMT_YUV420P;
    // The pictures' own colours: JPEG's full range and matrix, centred chroma.
    encoder_->color_range = AVCOL_RANGE_JPEG;
    encoder_->colorspace = AVCOL_SPC_BT470BG;
    encoder_->chroma_sample_location = AVCHROMA_LOC_CENTER;
    encoder_->thread_count = 0; // as many as the encoder finds useful
    if (format_->oformat->flags & AVFMT_GLOBALHEADER)
        encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    av_opt_set(encoder_->priv_data, "preset", "veryfast", 0);
    if (const int error = avcodec_open2(encoder_, codec, nullptr); error < 0)
        return errorText(error);
    return {};
}

QString H264FilmWriter::Open(const QByteArray& path, QSize frameSize, int framesPerSecond) {
    av_log_set_level(AV_LOG_QUIET); // failures are reported by their results
    if (const int error = avformat_alloc_output_context2(&format_, nullptr, "mp4", nullptr);
        error < 0)
        return errorText(error);
    if (QString failure = openEncoder(frameSize, framesPerSecond); !failure.isEmpty())
        return failure;
    stream_ = avformat_new_stream(format_, nullptr);
    if (!stream_)
        return errorText(AVERROR(ENOMEM));
    stream_->time_base = encoder_->time_base;
    stream_->avg_frame_rate = encoder_->framerate;
    if (const int error = avcodec_parameters_from_context(stream_->codecpar, encoder_); error < 0)
        return errorText(error);
    if (const int error = avio_open(&format_->pb, path.constData(), AVIO_FLAG_WRITE); error < 0)
        return errorText(error);
    if (const int error = avformat_write_header(format_, nullptr); error < 0)
        return errorText(error);
    return {};
}

QString H264FilmWriter::writePackets() {
    for (;;) {
        const int received = avcodec_receive_packet(encoder_, packet_);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return {};
        if (received < 0)
            return errorText(received);
        av_packet_rescale_ts(packet_, encoder_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        if (const int error = av_interleaved_write_frame(format_, packet_); error < 0)
            return errorText(error);
    }
}

QString H264FilmWriter::Write(AVFrame* frame) {
    frame->pts = nextFrame_++;
    if (const int error = avcodec_send_frame(encoder_, frame); error < 0)
        return errorText(error);
    return writePackets();
}

QString H264FilmWriter::Finish() {
    if (const int error = avcodec_send_frame(encoder_, nullptr); error < 0)
        return errorText(error);
    if (QString failure = writePackets(); !failure.isEmpty())
        return failure;
    if (const int error = av_write_trailer(format_); error < 0)
        return errorText(error);
    if (const int error = avio_closep(&format_->pb); error < 0)
        return errorText(error);
    return {};
}
