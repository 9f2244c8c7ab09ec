// Loaded before the program on bench.html: measures the main thread's time
// for each frame pass. The program resumes from its animation frame in a
// microtask queued by the frame's callback; a microtask queued after the
// callback runs once the frame pass has waited for the next frame again.
(function() {
  var WARM_UP = 60;     // frames not counted: start-up, first compilations
  var MEASURED = 600;   // frames counted
  var times = [];
  var frames = 0;
  var request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = function(callback) {
    return request(function(now) {
      var start = performance.now();
      callback(now);
      queueMicrotask(function() {
        if (++frames > WARM_UP && times.length < MEASURED) {
          times.push(performance.now() - start);
          if (times.length === MEASURED) report();
        }
      });
    });
  };
  function report() {
    var sorted = times.slice().sort(function(a, b) { return a - b; });
    var mean = times.reduce(function(a, b) { return a + b; }, 0) / times.length;
    var data = document.body.dataset;
    data.frameMedianMs = sorted[sorted.length >> 1].toFixed(3);
    data.frameMeanMs = mean.toFixed(3);
    data.frameP90Ms = sorted[Math.floor(sorted.length * 0.9)].toFixed(3);
    data.frames = String(times.length);
  }
})();
