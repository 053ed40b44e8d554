#include "tests/archive/FilmReader.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

int lumaAt(const AVFrame* frame, int x, int y) {
    return frame->data[0][y * frame->linesize[0] + x];
}

void sample(const AVFrame* frame, FilmContents& film) {
    film.frames.push_back(
        {lumaAt(frame, frame->width / 2, frame->height / 2), lumaAt(frame, 1, frame->height / 2)});
}

void decodeAll(AVFormatContext* format, AVCodecContext* decoder, int stream, FilmContents& film) {
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto receive = [&] {
        while (avcodec_receive_frame(decoder, frame) == 0)
            sample(frame, film);
    };
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == stream && avcodec_send_packet(decoder, packet) == 0)
            receive();
        av_packet_unref(packet);
    }
    avcodec_send_packet(decoder, nullptr);
    receive();
    av_frame_free(&frame);
    av_packet_free(&packet);
}

} // namespace

FilmContents ReadFilm(const QString& path) {
    FilmContents film;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return film;
    const AVCodec* codec = nullptr;
    const int stream = avformat_find_stream_info(format, nullptr) < 0
                           ? -1
                           : av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    AVCodecContext* decoder = stream >= 0 ? avcodec_alloc_context3(codec) : nullptr;
    if (decoder && avcodec_parameters_to_context(decoder, format->streams[stream]->codecpar) >= 0 &&
        avcodec_open2(decoder, codec, nullptr) >= 0) {
        film.codec = QString::fromLatin1(codec->name);
        film.frameSize = QSize(decoder->width, decoder->height);
        film.framesPerSecond = av_q2d(format->streams[stream]->avg_frame_rate);
        decodeAll(format, decoder, stream, film);
    }
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return film;
}
