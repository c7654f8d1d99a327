// Run in the page's head, before its first layout. A screen narrower or lower than the
// window and its margin shows the page zoomed out to fit, taps scaled with it; a frame
// smaller than the window, which a frame's page cannot zoom, draws the window smaller.
(function () {
  'use strict';
  const root = document.documentElement;
  const width = Number(root.dataset.width),
    height = Number(root.dataset.height),
    margin = 20;

  // A frame may not have its size yet when its page starts, and a school's page may change
  // it: the window is fitted again whenever it does.
  function fitFrame() {
    if (!innerWidth || !innerHeight) return;
    const scale = Math.min(innerWidth / width, innerHeight / height);
    root.style.setProperty('--zun-scale', Math.min(scale, 1));
    root.classList.toggle('scaled', scale < 1);
  }

  if (window.self !== window.top) {
    fitFrame();
    addEventListener('resize', fitFrame);
    document.addEventListener('DOMContentLoaded', fitFrame);
    return;
  }
  const need = Math.max(
    width + margin,
    Math.ceil(((height + margin) * screen.width) / screen.height),
  );
  if (screen.width < need) document.querySelector('meta[name=viewport]').content = 'width=' + need;
})();
