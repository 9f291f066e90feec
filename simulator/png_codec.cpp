#include "simulator/png_codec.h"

#include <windows.h>
#include <wincodec.h>

#include <utility>

namespace {

// One counted COM reference, released when the owner goes out of scope.
template <class T>
class com_ptr {
 public:
  com_ptr() = default;
  com_ptr(const com_ptr&) = delete;
  com_ptr& operator=(const com_ptr&) = delete;
  ~com_ptr() {
    if (ptr_) ptr_->Release();
  }
  T* operator->() const { return ptr_; }
  T* get() const { return ptr_; }
  T** receive() { return &ptr_; }

 private:
  T* ptr_ = nullptr;
};

// COM for the calling thread while it lives; nested uses only count.
class com_scope {
 public:
  com_scope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  com_scope(const com_scope&) = delete;
  com_scope& operator=(const com_scope&) = delete;
  ~com_scope() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

std::wstring WidePath(const std::string& path) {
  std::wstring wide(size_t(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), int(wide.size()));
  wide.pop_back();  // the terminator
  return wide;
}

bool CreateFactory(com_ptr<IWICImagingFactory>& factory) {
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.receive())));
}

// Swaps the first and third byte of every pixel: RGB and the codec's BGR are each other's.
std::vector<uint8_t> SwapRedAndBlue(std::vector<uint8_t> pixels) {
  for (size_t i = 0; i + 2 < pixels.size(); i += 3) std::swap(pixels[i], pixels[i + 2]);
  return pixels;
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb) {
  const com_scope com;
  com_ptr<IWICImagingFactory> factory;
  com_ptr<IWICStream> stream;
  com_ptr<IWICBitmapEncoder> encoder;
  com_ptr<IWICBitmapFrameEncode> frame;
  com_ptr<IPropertyBag2> options;
  if (!CreateFactory(factory) || FAILED(factory->CreateStream(stream.receive())) ||
      FAILED(stream->InitializeFromFilename(WidePath(path).c_str(), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.receive())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.receive(), options.receive())) || FAILED(frame->Initialize(options.get())) ||
      FAILED(frame->SetSize(UINT(width), UINT(height))))
    return false;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  // The encoder may only offer a nearby format; the pixels are written as they are.
  if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return false;
  std::vector<uint8_t> bgr = SwapRedAndBlue(rgb);
  const UINT stride = UINT(width) * 3;
  return SUCCEEDED(frame->WritePixels(UINT(height), stride, UINT(bgr.size()), bgr.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

bool ReadPng(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgb) {
  const com_scope com;
  com_ptr<IWICImagingFactory> factory;
  com_ptr<IWICBitmapDecoder> decoder;
  com_ptr<IWICBitmapFrameDecode> frame;
  com_ptr<IWICFormatConverter> converter;
  UINT w = 0, h = 0;
  if (!CreateFactory(factory) ||
      FAILED(factory->CreateDecoderFromFilename(WidePath(path).c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.receive())) ||
      FAILED(decoder->GetFrame(0, frame.receive())) || FAILED(frame->GetSize(&w, &h)) ||
      FAILED(factory->CreateFormatConverter(converter.receive())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return false;
  std::vector<uint8_t> bgr(size_t(w) * h * 3);
  if (FAILED(converter->CopyPixels(nullptr, w * 3, UINT(bgr.size()), bgr.data()))) return false;
  width = int(w);
  height = int(h);
  rgb = SwapRedAndBlue(std::move(bgr));
  return true;
}
