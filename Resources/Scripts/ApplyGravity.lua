-- Every frame: the player falls a little faster, down to the fastest fall. Standing on
-- something, the landing stopped last frame's fall, so a fall faster than one frame of
-- gravity means nothing is underfoot any more. A running air dash keeps its own line:
-- level, or rising for a diagonal dash.
function main()
    local player = GetController(GetPlayerID())
    if player == nil or player.airSkillActive then
        return
    end
    if player.y_vel < player.y_acc then
        player.isGrounded = false
    end
    player.y_vel = math.max(player.y_vel + player.y_acc, player.maxvely)
end
