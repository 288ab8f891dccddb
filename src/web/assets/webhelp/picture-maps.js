// Image-map areas follow their picture when the browser shows it smaller
// than its size (reading.css fits wide pictures into a narrow window): each
// area's coordinates, written for the picture's own size, are scaled by how
// much narrower the picture is shown.
(function () {
  'use strict';
  var written = new WeakMap();  // area -> the coordinates the page was written with

  function mapOf(picture) {
    var name = (picture.getAttribute('usemap') || '').replace(/^#/, '');
    return name ? document.querySelector('map[name="' + CSS.escape(name) + '"]') : null;
  }

  function fit(picture) {
    var map = mapOf(picture);
    var size = Number(picture.getAttribute('width')) || picture.naturalWidth;
    if (!map || !size || !picture.clientWidth) return;
    var scale = picture.clientWidth / size;
    map.querySelectorAll('area[coords]').forEach(function (area) {
      if (!written.has(area)) written.set(area, area.getAttribute('coords'));
      var coords = written.get(area).split(',').map(function (value) { return Number(value.trim()); });
      if (coords.some(isNaN)) return;
      area.setAttribute('coords', coords.map(function (value) { return Math.round(value * scale); }).join(','));
    });
  }

  function fitAll() { document.querySelectorAll('img[usemap]').forEach(fit); }

  window.addEventListener('load', fitAll);
  window.addEventListener('resize', fitAll);
  document.addEventListener('DOMContentLoaded', function () {
    document.querySelectorAll('img[usemap]').forEach(function (picture) {
      if (!picture.complete) picture.addEventListener('load', function () { fit(picture); });
    });
  });
})();
