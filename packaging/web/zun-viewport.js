// Run in the page's head, before its first layout. A screen narrower or lower than the
// window and its margin shows the page zoomed out to fit; the browser then scales taps as it
// scales the picture, so each lands where it shows. A frame smaller than the window, which a
// frame's page cannot zoom, has Qt draw the window smaller (the loader passes the scale).
(function () {
  'use strict';
  const width = 427, height = 360, margin = 20;
  const root = document.documentElement;

  // A frame may not have its size yet when its page starts.
  function fitFrame() {
    if (!innerWidth || !innerHeight)
      return false;
    const scale = Math.min(innerWidth / width, innerHeight / height);
    if (scale < 1) {
      root.dataset.scale = scale;
      root.style.setProperty('--zun-width', Math.ceil(width * scale) + 'px');
      root.style.setProperty('--zun-height', Math.ceil(height * scale) + 'px');
      root.classList.add('scaled');
    }
    return true;
  }

  if (window.self !== window.top) {
    if (!fitFrame())
      document.addEventListener('DOMContentLoaded', fitFrame);
    return;
  }
  const need = Math.max(width + margin,
                        Math.ceil(((height + margin) * screen.width) / screen.height));
  if (screen.width < need)
    document.querySelector('meta[name=viewport]').content = 'width=' + need;
})();
